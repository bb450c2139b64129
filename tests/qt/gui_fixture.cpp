#include "tests/qt/gui_fixture.h"

#include "support/files.h"
#include "support/paths.h"
#include "tests/common/demo_install.h"

namespace varnock::testing {

std::string DemoFile(const std::string& name) {
  return JoinPath(VARNOCK_DEMO_DIR, name);
}

MainWindowHarness::MainWindowHarness(bool bundled,
                                     const std::function<void(AppEnvironment&)>& adjust) {
  const DemoInstall install = InstallDemo(temp, VARNOCK_DEMO_DIR, "varnock", bundled);
  programFolder = install.programFolder;
  gameFolder = install.gameFolder;
  exe = install.exe;

  window = std::make_unique<qt::Principale>();
  ui.SetMainWindow(window.get());
  pickerHost = std::make_unique<qt::QtPickerWindowHost>(window.get());
  picker = std::make_unique<Dialog_GetFileODir>(pickerEnvironment, ui, *pickerHost);
  AppEnvironment environment = DemoEnvironment(install);
  if (adjust) {
    adjust(environment);
  }
  presenter = std::make_unique<MainPresenter>(*window, *picker, ui, environment);
  window->Connect(*presenter);
}

MainWindowHarness::~MainWindowHarness() {
  window->hide();
}

bool MainWindowHarness::Load() {
  if (!presenter->Load()) {
    return false;
  }
  window->ShowCentred();
  return true;
}

}  // namespace varnock::testing
