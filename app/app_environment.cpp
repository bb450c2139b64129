#include "app/app_environment.h"

#include "support/installed_program.h"
#include "support/platform.h"

namespace varnock {

AppEnvironment SystemEnvironment() {
  AppEnvironment environment;
  environment.ownExecutablePath = OwnExecutablePath();
  environment.findInstalledProgram = [](const std::string& relativePath) {
    return FindInstalledProgram(relativePath);
  };
  environment.currentFolder = [] { return CurrentFolder(); };
  return environment;
}

}  // namespace varnock
