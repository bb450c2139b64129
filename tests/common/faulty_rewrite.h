#pragma once

#include <string>

#include "support/safe_rewrite.h"

namespace varnock {

// RewriteFile with the faults a test puts into the rewrite.
inline bool RewriteFileWith(const WriteFaults& faults, const std::string& path,
                            const Bytes& content, std::string& error) {
  LockedFile file(faults);
  return file.Open(path, error) && file.Rewrite(content, error);
}

}  // namespace varnock
