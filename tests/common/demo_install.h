#pragma once

#include <string>

#include "app/app_environment.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {

// Varnock as a user has it, laid out in a temporary folder: the program's folder, holding the
// program (carrying the two bundled patches) or the two patches as loose files, and a game
// folder with a copy of the demonstration tomb4.exe.
struct DemoInstall {
  std::string programFolder;
  std::string gameFolder;
  std::string exe;      // the game folder's tomb4.exe
  std::string program;  // the program's own executable
};

// `demoFolder` holds the demonstration engine and the patches the build made.
DemoInstall InstallDemo(const TempDir& temp, const std::string& demoFolder,
                        const std::string& programName, bool bundled);

// The environment of a program started from `install`: no level editor installed, pickers
// starting in the game folder.
AppEnvironment DemoEnvironment(const DemoInstall& install);

}  // namespace varnock::testing
