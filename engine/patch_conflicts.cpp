#include "engine/patch_conflicts.h"

#include <algorithm>
#include <map>
#include <utility>

#include "engine/zone_pipeline.h"

namespace varnock {

namespace {

struct Placed {
  ZoneSpan span;
  std::size_t patch = 0;
  std::int64_t End() const { return span.offset + span.length; }
};

}  // namespace

std::vector<ZoneSpan> WrittenSpans(const PatchStatus& status) {
  std::vector<ZoneSpan> spans;
  for (const ZoneReport& zone : status.zones) {
    if (zone.written) {
      spans.push_back({zone.offset, zone.length, zone.index});
    }
  }
  return spans;
}

std::vector<ZoneSpan> WrittenSpans(const PatchRecord& placed) {
  std::vector<ZoneSpan> spans;
  for (std::size_t i = FirstWrittenZone(placed); i < placed.Zones.size(); ++i) {
    spans.push_back({placed.Zones.View(i).Offset, placed.Zones.View(i).Length, i});
  }
  return spans;
}

std::vector<Conflict> FindConflicts(const std::vector<std::vector<ZoneSpan>>& patches) {
  std::vector<Placed> all;
  for (std::size_t p = 0; p < patches.size(); ++p) {
    for (const ZoneSpan& span : patches[p]) {
      if (span.length > 0) {
        all.push_back({span, p});
      }
    }
  }
  std::sort(all.begin(), all.end(),
            [](const Placed& a, const Placed& b) { return a.span.offset < b.span.offset; });
  // One sweep from the lowest offset up, keeping the spans that still reach the current one.
  std::map<std::pair<std::size_t, std::size_t>, Conflict> found;
  std::vector<Placed> open;
  for (const Placed& next : all) {
    std::erase_if(open, [&](const Placed& span) { return span.End() <= next.span.offset; });
    for (const Placed& span : open) {
      if (span.patch == next.patch) {
        continue;
      }
      const bool nextFirst = next.patch < span.patch;
      const Placed& a = nextFirst ? next : span;
      const Placed& b = nextFirst ? span : next;
      const Conflict conflict{a.patch, b.patch, a.span.zone, b.span.zone, next.span.offset};
      // Spans come by rising offset: the first byte a pair is found to share is its lowest.
      found.try_emplace({a.patch, b.patch}, conflict);
    }
    open.push_back(next);
  }
  std::vector<Conflict> conflicts;
  conflicts.reserve(found.size());
  for (const auto& entry : found) {
    conflicts.push_back(entry.second);
  }
  return conflicts;
}

}  // namespace varnock
