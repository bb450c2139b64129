#include "bench/in_process_window.h"

#include "app/remembered_choices.h"
#include "support/paths.h"

namespace varnock::bench {

namespace {

AppEnvironment Environment(const std::string& folder, SettingsStore& settings) {
  AppEnvironment environment;
  // The program runs from the folder of patches, without a bundle.
  environment.ownExecutablePath = JoinPath(folder, "varnock.exe");
  environment.findInstalledProgram = [](const std::string&) { return std::string(); };
  environment.currentFolder = [folder] { return folder; };
  environment.settings = &settings;
  return environment;
}

}  // namespace

InProcessWindow::InProcessWindow(const std::string& folder, const std::string& exe)
    : folder_(folder), exe_(exe), presenter_(*this, *this, ui, Environment(folder, *this)) {}

bool InProcessWindow::Load() {
  return presenter_.Load();
}

std::string InProcessWindow::Read(const std::string& name) const {
  if (name == kRememberedTarget) {
    return exe_;
  }
  return name == kRememberedPatchFolder ? folder_ : std::string();
}

}  // namespace varnock::bench
