#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "support/files.h"
#include "support/paths.h"
#include "support/user_folders.h"

namespace varnock {

bool CanCreateFilesIn(const std::string& folder) {
  if (!FolderExists(folder)) {
    return false;
  }
  // Windows answers for its access lists only when a file is really created: a probe of a
  // name of this process's own, gone again when its handle is closed.
  const std::string probe =
      JoinPath(folder, ".varnock-probe-" + std::to_string(GetCurrentProcessId()));
  const HANDLE file = CreateFileW(ToFsPath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  CloseHandle(file);
  return true;
}

std::string UserDataFolder() {
  wchar_t local[MAX_PATH] = {};
  if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, local) !=
      S_OK) {
    return {};
  }
  return JoinPath(FromFsPath(std::filesystem::path(local)), "Varnock");
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
