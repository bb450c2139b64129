#pragma once

#include <cstdint>

#include "support/bytes.h"

namespace varnock {

// Writes `headerOffset` at 0x3C and `stamp` at headerOffset + 8, growing the image with zero
// bytes as needed (for tests and build tools that make executables). A stamp place before the
// start of the image is not written.
void PutPeTimeStamp(Bytes& image, std::int32_t headerOffset, std::int32_t stamp);

}  // namespace varnock
