#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace varnock {

// The faults a test puts into the writes of one file, handed to its LockedFile once, when it is
// made; the program's own files are written without any.
struct WriteFaults {
  // Called after the new content is in the temporary file and flushed, and after the rewrite's
  // own step before the replace (see LockedFile::Rewrite), just before the file is replaced;
  // with an empty path where the file is written in place.
  std::function<void(const std::string& temporaryPath)> before_replace;
  // Called with each chunk about to be written (to the temporary file, or to the file itself
  // where that is written in place); return false to make the write fail as on a full disk.
  std::function<bool(std::size_t offset, std::size_t size)> allow_write;
  // How long to wait for another writer that holds the file; ten seconds by default.
  std::optional<std::chrono::milliseconds> wait;
};

}  // namespace varnock
