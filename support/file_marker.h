#pragma once

#include <cstdint>
#include <string>

namespace varnock {

// How a file or folder looks from outside: whether it is there, its size, its last change and
// which file it is. Markers that differ mean its content may have changed; a folder's changes
// when a file is added, removed or renamed in it. Taking one costs one look at the file's
// entry and reads nothing of its content.
struct FileMarker {
  bool exists = false;
  std::uint64_t size = 0;
  std::int64_t changed = 0;    // the last write time, in the file system's own ticks
  std::uint64_t identity = 0;  // the file's number on its volume where the platform gives it

  friend bool operator==(const FileMarker&, const FileMarker&) = default;
};

FileMarker MarkerOf(const std::string& path);

}  // namespace varnock
