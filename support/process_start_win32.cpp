#include <windows.h>

#include <array>

#include "support/process_start.h"

namespace varnock {

namespace {

bool Names(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    return false;
  }
  SetLastError(NO_ERROR);
  return GetFileType(handle) != FILE_TYPE_UNKNOWN || GetLastError() == NO_ERROR;
}

}  // namespace

// A standard handle the program was started without, or one that names nothing (a handle
// value that was closed could later name a file this program opens), is replaced by one on
// the null device. The C runtime's own streams already refuse such a handle by themselves.
void PrepareProcess() {
  constexpr std::array<DWORD, 3> kStandard = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE,
                                              STD_ERROR_HANDLE};
  for (const DWORD standard : kStandard) {
    if (Names(GetStdHandle(standard))) {
      continue;
    }
    const DWORD access = standard == STD_INPUT_HANDLE ? GENERIC_WRITE : GENERIC_READ;
    const HANDLE null = CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (null != INVALID_HANDLE_VALUE) {
      SetStdHandle(standard, null);
    }
  }
}

}  // namespace varnock
