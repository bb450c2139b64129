#include "support/user_folders.h"

#include <filesystem>
#include <system_error>

#include "support/files.h"
#include "support/paths.h"
#include "support/user_folders_platform.h"

namespace varnock {

namespace {

// `folder` made, with the folders above it, when it then takes files; else empty.
std::string Usable(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(ToFsPath(folder), error);
  return CanCreateFilesIn(folder) ? folder : std::string();
}

}  // namespace

std::string UserPatchFolder() {
  const std::string data = UserDataFolder();
  if (!data.empty() && !Usable(JoinPath(data, "patches")).empty()) {
    return JoinPath(data, "patches");
  }
  // No data folder that works (no home, a data home that cannot be made): a private folder of
  // the user's own in a scratch place, which a folder someone else made there never is.
  for (const std::string& scratch : ScratchFolders()) {
    const std::string own = JoinPath(scratch, PrivateFolderName());
    if (FolderExists(scratch) && MakePrivateFolder(own) &&
        !Usable(JoinPath(own, "patches")).empty()) {
      return JoinPath(own, "patches");
    }
  }
  return {};
}

}  // namespace varnock
