#pragma once

#include <cstdint>
#include <optional>

#include "patchfile/zone_list.h"
#include "support/bytes.h"

namespace varnock {

// Candidates this far from the recorded offset, or farther, are never chosen.
inline constexpr std::int64_t kFarthestShift = 10'000'000;

// Among all occurrences of `pattern` in `image` (overlapping ones included), the shift
// (position - offset) of smallest magnitude below kFarthestShift; on a tie the lower position
// wins. std::nullopt when there is none. The image is scanned once.
std::optional<std::int32_t> FindNearestOccurrence(const Bytes& image, ByteSpan pattern,
                                                  std::int64_t offset);

}  // namespace varnock
