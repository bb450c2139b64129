#include <windows.h>

#include "support/files.h"
#include "support/new_file_copy.h"

namespace varnock {

bool RemoveStaleCopy(const std::string& path, const std::string& source) {
  // A copy another run holds cannot be deleted: only one whose run has ended goes.
  const std::wstring wide = ToFsPath(path).wstring();
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                        FILE_ATTRIBUTE_READONLY)) == 0 &&
         HoldsStartOf(path, source) && DeleteFileW(wide.c_str()) != 0;
}

}  // namespace varnock
