#pragma once

#include <cstdint>

#include "support/file_marker.h"

namespace varnock {

// Windows: the marker of an existing file from the size and last write time its folder entry
// gives (the halves as the system gives them), with no identity: a file's index would need the
// file opened. MarkerOf and the folder listing both make their markers with it, so that they
// agree.
FileMarker MarkerOfEntry(std::uint32_t sizeHigh, std::uint32_t sizeLow, std::uint32_t writtenHigh,
                         std::uint32_t writtenLow);

}  // namespace varnock
