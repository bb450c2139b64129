// varnock.exe: the window that applies patches to the game engine and its tools, and removes
// them, with the controls of Windows itself.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/app_environment.h"
#include "app/main_presenter.h"
#include "win32/main_window.h"
#include "win32/modal_loop.h"
#include "win32/win32_user_interface.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace varnock;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);

  win32::Win32UserInterface ui;
  win32::MainWindow window(ui);
  if (window.Handle() == nullptr) {
    ui.ShowMessage("The window of the program cannot be created.", MessageIcon::Critical);
    return 1;
  }
  MainPresenter presenter(window, ui, SystemEnvironment());
  window.Connect(presenter);
  // Start-up; when it finds no patch it has shown why and closed the window.
  if (!presenter.Load()) {
    return 0;
  }
  window.ShowCentred();
  win32::RunMessageLoop(window.Handle());
  return 0;
}
