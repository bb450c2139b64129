#pragma once

#include <string>

#include "support/bytes.h"

namespace varnock {

// The executable as a look read it: its path, its whole content, and its version signature,
// computed into `version` when that is empty and needed.
struct ExeRead {
  const std::string& path;
  const Bytes& image;
  std::string& version;
};

}  // namespace varnock
