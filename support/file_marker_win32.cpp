#include <windows.h>

#include "support/file_marker.h"
#include "support/files.h"

namespace varnock {

// The file's index would need the file opened; size and last write time are read from its
// folder entry alone.
FileMarker MarkerOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  if (!GetFileAttributesExW(ToFsPath(path).c_str(), GetFileExInfoStandard, &info)) {
    return {};
  }
  const auto join = [](DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
  };
  return {true, join(info.nFileSizeHigh, info.nFileSizeLow),
          static_cast<std::int64_t>(
              join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)),
          0};
}

}  // namespace varnock
