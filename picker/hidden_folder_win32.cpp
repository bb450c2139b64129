#include <windows.h>

#include "picker/hidden_folder.h"
#include "support/files.h"

namespace varnock {

bool IsHiddenFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(ToFsPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

}  // namespace varnock
