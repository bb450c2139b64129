#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "support/files.h"
#include "support/paths.h"
#include "support/user_folders.h"

namespace varnock {

namespace {

// The user's home: $HOME, else the password database's entry.
std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    return home;
  }
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr || found->pw_dir[0] != '/') {
    return {};
  }
  return found->pw_dir;
}

// The base of the user's data files; a relative $XDG_DATA_HOME is ignored, as the base
// directory rules ask.
std::string DataHome() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') {
    return data;
  }
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : JoinPath(JoinPath(home, ".local"), "share");
}

}  // namespace

bool CanCreateFilesIn(const std::string& folder) {
  // access() asks the kernel, which also knows read-only mounts and immutable folders.
  return FolderExists(folder) && access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserDataFolder() {
  const std::string base = DataHome();
  return base.empty() ? std::string() : JoinPath(base, "varnock");
}

std::string UserPatchFolder() {
  const std::string data = UserDataFolder();
  if (data.empty()) {
    return {};
  }
  const std::string folder = JoinPath(data, "patches");
  std::error_code error;
  std::filesystem::create_directories(ToFsPath(folder), error);
  return FolderExists(folder) ? folder : std::string();
}

}  // namespace varnock
