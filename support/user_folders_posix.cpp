#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "support/files.h"
#include "support/paths.h"
#include "support/user_folders.h"
#include "support/user_folders_platform.h"

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

// An absolute path from the environment; relative ones are ignored, as the base directory
// rules ask.
std::string AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] == '/' ? value : std::string();
}

}  // namespace

bool CanCreateFilesIn(const std::string& folder) {
  // access() asks the kernel, which also knows read-only mounts and immutable folders.
  return FolderExists(folder) && access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserDataFolder() {
  std::string data = AbsoluteVariable("XDG_DATA_HOME");
  if (data.empty()) {
    const std::string home = HomeFolder();
    data = home.empty() ? std::string() : JoinPath(JoinPath(home, ".local"), "share");
  }
  return data.empty() ? std::string() : JoinPath(data, "varnock");
}

std::vector<std::string> ScratchFolders() {
  std::vector<std::string> folders;
  if (const std::string runtime = AbsoluteVariable("XDG_RUNTIME_DIR"); !runtime.empty()) {
    folders.push_back(runtime);
  }
  std::error_code error;
  const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
  if (!error) {
    folders.push_back(FromFsPath(temporary));
  }
  return folders;
}

std::string PrivateFolderName() {
  return "varnock-" + std::to_string(::geteuid());
}

bool MakePrivateFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    return false;
  }
  // lstat: a link someone put there is refused, not followed.
  struct stat made {};
  return ::lstat(folder.c_str(), &made) == 0 && S_ISDIR(made.st_mode) &&
         made.st_uid == ::geteuid() && (made.st_mode & 077) == 0;
}

}  // namespace varnock
