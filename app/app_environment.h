#pragma once

#include <functional>
#include <string>

namespace varnock {

// What start-up and the buttons learn from the machine they run on. The program takes it from
// the operating system; tests point it at a temporary folder.
struct AppEnvironment {
  // Full path of the running program's executable, which may carry the patch bundle.
  std::string ownExecutablePath;
  // Full path of an installed program from its path below the Program Files folder; empty
  // when not installed.
  std::function<std::string(const std::string& relativePath)> findInstalledProgram;
  // The process's current folder, where the pickers start.
  std::function<std::string()> currentFolder;
};

// The environment of the running program.
AppEnvironment SystemEnvironment();

}  // namespace varnock
