#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/patch_status.h"
#include "patchfile/patch_record.h"

namespace varnock {

// A run of bytes that a patch writes, where it lies on one executable.
struct ZoneSpan {
  std::int64_t offset = 0;
  std::int64_t length = 0;
  std::size_t zone = 0;  // the zone's index in its patch
};

// Two patches whose zones share at least one byte.
struct Conflict {
  std::size_t first = 0;  // the patches' indexes, first < second
  std::size_t second = 0;
  std::size_t firstZone = 0;  // the zones that share the byte
  std::size_t secondZone = 0;
  std::int64_t offset = 0;  // the lowest byte they share
};

// The zones a patch writes, as placed on the executable (or as recorded when the placement
// failed). Patches that cannot be placed at all (broken, for another build or program) have
// none.
std::vector<ZoneSpan> WrittenSpans(const PatchStatus& status);
std::vector<ZoneSpan> WrittenSpans(const PatchRecord& placed);

// Every pair of patches whose spans share a byte, once each, ordered by the first patch and
// then the second.
std::vector<Conflict> FindConflicts(const std::vector<std::vector<ZoneSpan>>& patches);

}  // namespace varnock
