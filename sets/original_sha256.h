#pragma once

#include <string>

#include "support/bytes.h"

namespace varnock {

// The SHA-256 of the executable at `exePath` (whose content is `image`, of SHA-256
// `currentSha256`) before Varnock first changed it, as its history knows it; empty when it
// knows none.
std::string OriginalSha256(const std::string& exePath, const Bytes& image,
                           const std::string& currentSha256);

}  // namespace varnock
