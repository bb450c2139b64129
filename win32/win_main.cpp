// varnock.exe: the window that applies patches to the game engine and its tools, and removes
// them, with the controls of Windows itself.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/app_environment.h"
#include "app/language_setting.h"
#include "app/main_presenter.h"
#include "picker/picker_presenter.h"
#include "picker/system_picker_environment.h"
#include "support/process_start.h"
#include "support/program_arguments.h"
#include "support/translation.h"
#include "win32/main_window.h"
#include "win32/modal_loop.h"
#include "win32/picker_window.h"
#include "win32/registry_settings.h"
#include "win32/win32_user_interface.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace varnock;
  PrepareProcess();
  // The language chosen in the settings, before the first text is read.
  win32::RegistrySettings settings;
  UseRememberedLanguage(settings);
  win32::Win32UserInterface ui;
  win32::MainWindow window;
  if (window.Handle() == nullptr) {
    ui.ShowMessage(Tr("The window of the program cannot be created."), MessageIcon::Critical);
    return 1;
  }
  win32::Win32PickerWindowHost pickerHost(window.Handle());
  SystemPickerEnvironment pickerEnvironment;
  Dialog_GetFileODir picker(pickerEnvironment, ui, pickerHost);
  AppEnvironment environment = SystemEnvironment();
  // "varnock [PATCH.ptc | SET.ptcset] [EXE]", as Explorer starts it for a patch or a set.
  const std::vector<std::string> arguments = ProgramArguments(0, nullptr);
  environment.openedFiles.assign(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end());
  environment.settings = &settings;
  MainPresenter presenter(window, picker, ui, environment);
  window.Connect(presenter);
  // Start-up; when it finds no patch it has shown why and closed the window.
  if (!presenter.Load()) {
    return 0;
  }
  window.ShowCentred();
  // For start-up timing: the window closes, as its close box would, once it has been shown.
  if (GetEnvironmentVariableW(L"VARNOCK_CLOSE_WHEN_SHOWN", nullptr, 0) > 0) {
    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
  }
  win32::RunMessageLoop(window.Handle());
  return 0;
}
