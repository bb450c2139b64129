#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/main_presenter.h"
#include "picker/picker_presenter.h"
#include "picker/system_picker_environment.h"
#include "support/window_design.h"
#include "tests/common/temp_dir.h"
#include "win32/layout.h"
#include "win32/main_window.h"
#include "win32/picker_window.h"
#include "win32/win32_user_interface.h"

namespace varnock::testing {

// A path the build gives (the host's, in a cross build) as the program sees it: under Wine
// the host's root is drive Z:.
std::string BuildPath(std::string path);

// The demonstration files made by the build: tomb4.exe and the patches bundled with it.
std::string DemoFile(const std::string& name);

// A program folder with the demonstration patches (loose, or in a bundle appended to a
// stand-in of the program's executable), a game folder with a copy of the demonstration
// tomb4.exe, and the real main window and presenter over them, with real message boxes.
class MainWindowHarness {
 public:
  explicit MainWindowHarness(bool bundled = false);
  ~MainWindowHarness();

  // Window load, then the window shown; false when start-up ended the program.
  bool Load();

  HWND Main() const { return window->Handle(); }
  HWND Control(int id) const { return GetDlgItem(Main(), id); }
  std::string Text(int id) const { return win32::WindowText(Control(id)); }
  // What the window shows: the patch folder, how many patches are listed, the executable and
  // its version, and "dynamic" when the marker is up.
  std::string Shown() const;
  // A button pressed; returns once its handler, and any box it opened, has finished.
  void Click(int id) const;

  TempDir temp;
  std::string programFolder;
  std::string exe;  // the copy of the demonstration tomb4.exe
  win32::Win32UserInterface ui;
  std::unique_ptr<win32::MainWindow> window;
  std::unique_ptr<win32::Win32PickerWindowHost> pickerHost;
  SystemPickerEnvironment pickerEnvironment;
  std::unique_ptr<Dialog_GetFileODir> picker;
  std::unique_ptr<MainPresenter> presenter;
};

// Dispatches the messages waiting in the thread's queue and paints what is due.
void Settle(HWND window);

// Every control of the design is in the window at its box at the screen's dots per inch, in
// its font, with its caption whole, and the Tab key goes through the controls that take the
// focus in the design's order; in the picker's folder mode, the file list is hidden and the
// controls below it moved up.
void ExpectBuiltFromDesign(HWND window, const WindowDesign& design, int idBase,
                           bool folderMode = false);

// The window as the screen shows it, with its frame, saved as NAME.bmp (NAME-144dpi.bmp on the
// 144 dpi run) in the build's screenshot folder.
class Screenshot {
 public:
  Screenshot(HWND window, const std::string& name);
  // How many pixels of `control`'s box, less `inset` on each side, are of `colour`
  // (0x00RRGGBB), and how many there are.
  std::pair<int, int> Count(HWND control, std::uint32_t colour, int inset) const;

 private:
  RECT frame_{};
  std::vector<std::uint32_t> pixels_;
};

}  // namespace varnock::testing
