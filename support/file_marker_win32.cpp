#include <windows.h>

#include "support/file_marker.h"
#include "support/file_marker_platform.h"
#include "support/files.h"

namespace varnock {

FileMarker MarkerOfEntry(std::uint32_t sizeHigh, std::uint32_t sizeLow, std::uint32_t writtenHigh,
                         std::uint32_t writtenLow) {
  const auto join = [](std::uint32_t high, std::uint32_t low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
  };
  return {true, join(sizeHigh, sizeLow), static_cast<std::int64_t>(join(writtenHigh, writtenLow)),
          0};
}

// Size and last write time are read from the file's folder entry alone.
FileMarker MarkerOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  if (!GetFileAttributesExW(ToFsPath(path).c_str(), GetFileExInfoStandard, &info)) {
    return {};
  }
  return MarkerOfEntry(info.nFileSizeHigh, info.nFileSizeLow, info.ftLastWriteTime.dwHighDateTime,
                       info.ftLastWriteTime.dwLowDateTime);
}

}  // namespace varnock
