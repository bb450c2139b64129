#pragma once

#include <cstdint>
#include <string>

namespace varnock {

// How a file or folder looks from outside: whether it is there, its size and its last change.
// Markers that differ mean its content may have changed; a folder's changes when a file is
// added, removed or renamed in it. Taking one reads nothing of the content.
struct FileMarker {
  bool exists = false;
  std::uintmax_t size = 0;
  std::int64_t changed = 0;  // the last write time, in the file system's own ticks

  friend bool operator==(const FileMarker&, const FileMarker&) = default;
};

FileMarker MarkerOf(const std::string& path);

}  // namespace varnock
