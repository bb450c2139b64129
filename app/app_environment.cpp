#include "app/app_environment.h"

#include "support/installed_program.h"
#include "support/platform.h"
#include "support/user_folders.h"

namespace varnock {

AppEnvironment SystemEnvironment() {
  AppEnvironment environment;
  environment.ownExecutablePath = OwnExecutablePath();
  environment.findInstalledProgram = [](const std::string& relativePath) {
    return FindInstalledProgram(relativePath);
  };
  environment.currentFolder = [] { return CurrentFolder(); };
  environment.canCreateFilesIn = [](const std::string& folder) { return CanCreateFilesIn(folder); };
  environment.userPatchFolder = [] { return UserPatchFolder(); };
  return environment;
}

}  // namespace varnock
