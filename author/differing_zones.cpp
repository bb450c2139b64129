#include "author/differing_zones.h"

#include <algorithm>

namespace varnock {

namespace {

struct Run {
  std::size_t begin;
  std::size_t end;
};

// The differing runs, those closer than the merge gap already joined.
std::vector<Run> MergedRuns(const Bytes& original, const Bytes& modified) {
  std::vector<Run> runs;
  for (std::size_t at = 0; at < original.size(); ++at) {
    if (original[at] == modified[at]) {
      continue;
    }
    if (!runs.empty() && at - runs.back().end <= kZoneMergeGap) {
      runs.back().end = at + 1;
    } else {
      runs.push_back({at, at + 1});
    }
  }
  return runs;
}

PatchZone ZoneOf(const Bytes& original, const Bytes& modified, std::size_t begin, std::size_t end) {
  PatchZone zone;
  zone.Offset = static_cast<std::int32_t>(begin);
  zone.Length = static_cast<std::int32_t>(end - begin);
  const auto first = static_cast<std::ptrdiff_t>(begin);
  const auto last = static_cast<std::ptrdiff_t>(end);
  zone.OriginalBytes.assign(original.begin() + first, original.begin() + last);
  zone.PatchBytes.assign(modified.begin() + first, modified.begin() + last);
  return zone;
}

}  // namespace

std::vector<PatchZone> DifferingZones(const Bytes& original, const Bytes& modified) {
  std::vector<PatchZone> zones;
  for (const Run& run : MergedRuns(original, modified)) {
    for (std::size_t begin = run.begin; begin < run.end; begin += kMaxZoneLength) {
      zones.push_back(ZoneOf(original, modified, begin, std::min(run.end, begin + kMaxZoneLength)));
    }
  }
  return zones;
}

}  // namespace varnock
