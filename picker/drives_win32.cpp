#include <windows.h>

#include <cwchar>
#include <filesystem>
#include <iterator>

#include "picker/drives.h"
#include "support/files.h"

namespace varnock {

namespace {

// While it lives, a drive without a medium fails quietly instead of asking the user to insert
// one in a box of the system's own.
class QuietDriveErrors {
 public:
  QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
  ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  DWORD previous_ = 0;
};

}  // namespace

std::vector<std::string> ListDrives() {
  std::vector<std::string> drives;
  wchar_t buffer[512] = {};
  const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(buffer)), buffer);
  if (length == 0 || length >= std::size(buffer)) {
    return drives;
  }
  // The buffer holds "C:\" NUL "D:\" NUL ... NUL.
  for (const wchar_t* root = buffer; *root != L'\0'; root += wcslen(root) + 1) {
    drives.push_back(FromFsPath(std::filesystem::path(root)));
  }
  return drives;
}

bool DriveIsReady(const std::string& root) {
  QuietDriveErrors quiet;
  const std::wstring wide = ToFsPath(root).wstring();
  DWORD serial = 0;
  return GetVolumeInformationW(wide.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0) !=
         FALSE;
}

}  // namespace varnock
