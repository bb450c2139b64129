#pragma once

#include <functional>
#include <string>

#include "support/bytes.h"

namespace varnock {

// Points inside a rewrite at which tests can put a fault (a crash, a full disk).
struct RewriteHooks {
  // Called after the new content is in the temporary file and flushed, before the replace.
  std::function<void(const std::string& temporaryPath)> before_replace;
  // Called with each chunk about to be written to the temporary file; return false to make
  // the write fail as on a full disk.
  std::function<bool(std::size_t offset, std::size_t size)> allow_write;
};

// Replaces the whole content of the existing file `path` with `content`, crash-safe: at every
// moment the file holds either all its old bytes or all its new ones. The new content is
// written to a temporary file in the same folder, flushed, and moved over the file; the file
// keeps its permissions and attributes, and a symbolic link is followed, not replaced. A file
// that cannot be opened for writing is refused and left untouched. No temporary file is left
// behind. On failure returns false with the platform's description in `error`.
bool RewriteFile(const std::string& path, const Bytes& content, std::string& error,
                 const RewriteHooks* hooks = nullptr);

}  // namespace varnock
