#pragma once

#include <cstddef>
#include <vector>

#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock {

// Runs of differing bytes separated by at most this many equal bytes become one zone, so that
// a patch does not fall apart into single bytes.
inline constexpr std::size_t kZoneMergeGap = 8;
// A longer run is cut into consecutive zones of this length (the last one shorter).
inline constexpr std::size_t kMaxZoneLength = 256;

// The zones that turn `original` into `modified`, in file order; both images have the same
// length. Equal bytes inside a merged zone are carried in both byte lists.
std::vector<PatchZone> DifferingZones(const Bytes& original, const Bytes& modified);

}  // namespace varnock
