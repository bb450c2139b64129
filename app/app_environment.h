#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/settings_store.h"

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
  // Whether files can be created in a folder, and the per-user folder (empty when there is
  // none) that takes the bundle when they cannot be created in the program's own folder.
  // Without them the bundle always goes to the program's folder.
  std::function<bool(const std::string& folder)> canCreateFilesIn;
  std::function<std::string()> userPatchFolder;
  // The files the program was asked to open when it started (its command line, or a patch
  // opened from the file manager): a .ptc file, an executable to patch, or both.
  std::vector<std::string> openedFiles;
  // Where the last patch folder and the last chosen executable are kept between runs; null
  // keeps nothing.
  SettingsStore* settings = nullptr;
  // The folder of the history records (HistoryFolder() when not given).
  std::function<std::string()> historyFolder;
};

// The environment of the running program.
AppEnvironment SystemEnvironment();

}  // namespace varnock
