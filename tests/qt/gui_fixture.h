#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/main_presenter.h"
#include "picker/picker_presenter.h"
#include "picker/system_picker_environment.h"
#include "qt/picker_dialog.h"
#include "qt/principale.h"
#include "qt/qt_user_interface.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {

// The demonstration files made by the build: tomb4.exe and the patches bundled with it.
std::string DemoFile(const std::string& name);

// A program folder with the demonstration patches (loose, or in a bundle appended to a stand-in
// of the program's executable), a game folder with a copy of the demonstration tomb4.exe, and
// the real main window and presenter over them, with real message boxes.
class MainWindowHarness {
 public:
  // `adjust` changes the program's environment before the presenter is made: files opened
  // with it, settings kept between runs.
  explicit MainWindowHarness(bool bundled = false,
                             const std::function<void(AppEnvironment&)>& adjust = {});
  ~MainWindowHarness();

  // Window load; false when start-up ended the program.
  bool Load();

  template <typename Widget>
  Widget* Find(const char* name) const {
    return window->findChild<Widget*>(QString::fromLatin1(name));
  }

  TempDir temp;
  std::string programFolder;
  std::string gameFolder;
  std::string exe;  // the copy of the demonstration tomb4.exe
  qt::QtUserInterface ui;
  std::unique_ptr<qt::Principale> window;
  std::unique_ptr<qt::QtPickerWindowHost> pickerHost;
  SystemPickerEnvironment pickerEnvironment;
  std::unique_ptr<Dialog_GetFileODir> picker;
  std::unique_ptr<MainPresenter> presenter;
};

}  // namespace varnock::testing
