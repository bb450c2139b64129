#include "engine/patch_conflicts.h"

#include <algorithm>
#include <functional>

#include "engine/zone_pipeline.h"

namespace varnock {

namespace {

struct Edge {
  std::int64_t begin = 0;
  std::int64_t end = 0;
  std::uint32_t group = 0;
};

// The byte ranges the spans cover, sorted, overlapping or touching ranges merged into one.
std::vector<std::pair<std::int64_t, std::int64_t>> MergedRuns(const std::vector<ZoneSpan>& spans) {
  std::vector<std::pair<std::int64_t, std::int64_t>> runs;
  runs.reserve(spans.size());
  for (const ZoneSpan& span : spans) {
    if (span.length > 0) {
      runs.emplace_back(span.offset, span.offset + span.length);
    }
  }
  std::sort(runs.begin(), runs.end());
  std::size_t kept = 0;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (kept > 0 && runs[i].first <= runs[kept - 1].second) {
      runs[kept - 1].second = std::max(runs[kept - 1].second, runs[i].second);
    } else {
      runs[kept++] = runs[i];
    }
  }
  runs.resize(kept);
  runs.shrink_to_fit();
  return runs;
}

// Pairs of groups, as found by the sweep, each kept once. A pair is met again wherever two
// runs of its groups overlap, so the list is made unique whenever it has doubled.
class PairSet {
 public:
  void Insert(std::uint32_t a, std::uint32_t b) {
    pairs_.push_back(a < b ? (std::uint64_t{a} << 32) | b : (std::uint64_t{b} << 32) | a);
    if (pairs_.size() >= 2 * unique_ + kSlack) {
      Compact();
    }
  }
  std::vector<std::uint64_t> Take() {
    Compact();
    return std::move(pairs_);
  }

 private:
  static constexpr std::size_t kSlack = 1 << 16;
  void Compact() {
    std::sort(pairs_.begin(), pairs_.end());
    pairs_.erase(std::unique(pairs_.begin(), pairs_.end()), pairs_.end());
    unique_ = pairs_.size();
  }
  std::vector<std::uint64_t> pairs_;
  std::size_t unique_ = 0;
};

// Appends the first `limit` of `members` other than `skip`.
void TakeFirst(const std::vector<std::size_t>& members, std::size_t skip, std::size_t limit,
               std::vector<std::size_t>& out) {
  std::size_t taken = 0;
  for (std::size_t i = 0; i < members.size() && taken < limit; ++i) {
    if (members[i] != skip) {
      out.push_back(members[i]);
      ++taken;
    }
  }
}

// The lowest byte that `spans` share with `runs` (sorted, disjoint); none when they share none.
std::optional<std::int64_t> LowestShared(
    const std::vector<ZoneSpan>& spans,
    const std::vector<std::pair<std::int64_t, std::int64_t>>& runs) {
  std::optional<std::int64_t> lowest;
  for (const ZoneSpan& span : spans) {
    const std::int64_t end = span.offset + span.length;
    const auto run = std::upper_bound(runs.begin(), runs.end(), span.offset,
                                      [](std::int64_t at, const auto& r) { return at < r.second; });
    if (span.length > 0 && run != runs.end() && run->first < end) {
      const std::int64_t shared = std::max(run->first, span.offset);
      lowest = lowest ? std::min(*lowest, shared) : shared;
    }
  }
  return lowest;
}

// The first of the spans that covers `offset`.
std::size_t ZoneCovering(const std::vector<ZoneSpan>& spans, std::int64_t offset) {
  for (const ZoneSpan& span : spans) {
    if (span.offset <= offset && offset < span.offset + span.length) {
      return span.zone;
    }
  }
  return 0;
}

}  // namespace

std::vector<ZoneSpan> WrittenSpans(const PatchRecord& record, std::int64_t shift) {
  std::vector<ZoneSpan> spans;
  spans.reserve(record.Zones.size() - std::min(record.Zones.size(), FirstWrittenZone(record)));
  for (std::size_t i = FirstWrittenZone(record); i < record.Zones.size(); ++i) {
    spans.push_back({record.Zones.View(i).Offset + shift, record.Zones.View(i).Length, i});
  }
  return spans;
}

std::vector<ZoneSpan> WrittenRuns(const PatchRecord& record, std::int64_t shift) {
  std::vector<ZoneSpan> runs;
  // Each span comes at or after the start of the last run, so it can only join that one.
  const auto join = [&](const ZoneSpan& span) {
    if (span.length <= 0) {
      return true;
    }
    if (!runs.empty() && span.offset < runs.back().offset) {
      return false;
    }
    if (!runs.empty() && span.offset <= runs.back().offset + runs.back().length) {
      runs.back().length = std::max(runs.back().length, span.End() - runs.back().offset);
    } else {
      runs.push_back(span);
    }
    return true;
  };
  bool rising = true;
  for (std::size_t i = FirstWrittenZone(record); rising && i < record.Zones.size(); ++i) {
    const ZoneView zone = record.Zones.View(i);
    rising = join({zone.Offset + shift, zone.Length, i});
  }
  if (!rising) {
    std::vector<ZoneSpan> spans = WrittenSpans(record, shift);
    std::stable_sort(spans.begin(), spans.end(),
                     [](const ZoneSpan& a, const ZoneSpan& b) { return a.offset < b.offset; });
    runs.clear();
    for (const ZoneSpan& span : spans) {
      join(span);
    }
  }
  runs.shrink_to_fit();
  return runs;
}

std::size_t PatchConflicts::RunsHash::operator()(const std::vector<Run>& runs) const {
  std::size_t hash = runs.size();
  for (const Run& run : runs) {
    for (const std::int64_t value : {run.first, run.second}) {
      hash ^= std::hash<std::int64_t>()(value) + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2);
    }
  }
  return hash;
}

void PatchConflicts::Add(const std::vector<ZoneSpan>& spans) {
  std::vector<Run> runs = MergedRuns(spans);
  if (runs.empty()) {
    groupOf_.push_back(kNoGroup);
    return;
  }
  const auto [group, added] =
      groups_.try_emplace(std::move(runs), static_cast<std::uint32_t>(members_.size()));
  if (added) {
    members_.emplace_back();
  }
  members_[group->second].push_back(groupOf_.size());
  groupOf_.push_back(group->second);
}

void PatchConflicts::Find() {
  std::vector<Edge> edges;
  for (const auto& [runs, group] : groups_) {
    for (const Run& run : runs) {
      edges.push_back({run.first, run.second, group});
    }
  }
  std::sort(edges.begin(), edges.end(),
            [](const Edge& a, const Edge& b) { return a.begin < b.begin; });
  // The runs still open where the next one begins are all of other groups: a group's own
  // runs are disjoint. So each one kept is a pair found, and the sweep costs what it finds.
  PairSet pairs;
  std::vector<Edge> open;
  for (const Edge& next : edges) {
    std::erase_if(open, [&](const Edge& edge) { return edge.end <= next.begin; });
    for (const Edge& edge : open) {
      pairs.Insert(edge.group, next.group);
    }
    open.push_back(next);
  }
  const std::vector<std::uint64_t> found = pairs.Take();
  neighbourStart_.assign(members_.size() + 1, 0);
  for (const std::uint64_t pair : found) {
    ++neighbourStart_[pair >> 32];
    ++neighbourStart_[pair & 0xFFFFFFFFU];
  }
  std::size_t start = 0;
  for (std::size_t& slot : neighbourStart_) {
    start += std::exchange(slot, start);
  }
  neighbours_.resize(start);
  std::vector<std::size_t> filled(neighbourStart_.begin(), neighbourStart_.end() - 1);
  for (const std::uint64_t pair : found) {
    const auto a = static_cast<std::uint32_t>(pair >> 32);
    const auto b = static_cast<std::uint32_t>(pair & 0xFFFFFFFFU);
    neighbours_[filled[a]++] = b;
    neighbours_[filled[b]++] = a;
  }
}

std::size_t PatchConflicts::Count(std::size_t patch) const {
  const std::uint32_t group = groupOf_[patch];
  if (group == kNoGroup) {
    return 0;
  }
  std::size_t count = members_[group].size() - 1;
  for (std::size_t i = neighbourStart_[group]; i < neighbourStart_[group + 1]; ++i) {
    count += members_[neighbours_[i]].size();
  }
  return count;
}

std::vector<std::size_t> PatchConflicts::With(std::size_t patch, std::size_t limit) const {
  std::vector<std::size_t> with;
  const std::uint32_t group = groupOf_[patch];
  if (group == kNoGroup || limit == 0) {
    return with;
  }
  TakeFirst(members_[group], patch, limit, with);
  for (std::size_t i = neighbourStart_[group]; i < neighbourStart_[group + 1]; ++i) {
    TakeFirst(members_[neighbours_[i]], patch, limit, with);
  }
  // Each group gave its first ones, so the first `limit` of all are among them.
  const std::size_t kept = std::min(limit, with.size());
  std::partial_sort(with.begin(), with.begin() + static_cast<std::ptrdiff_t>(kept), with.end());
  with.resize(kept);
  return with;
}

std::optional<Conflict> FirstConflict(const std::vector<std::vector<ZoneSpan>>& patches) {
  PatchConflicts conflicts;
  for (const std::vector<ZoneSpan>& spans : patches) {
    conflicts.Add(spans);
  }
  conflicts.Find();
  // The first patch with a conflict conflicts with none before it, so its first is after it.
  for (std::size_t first = 0; first < patches.size(); ++first) {
    const std::vector<std::size_t> with = conflicts.With(first, 1);
    if (with.empty()) {
      continue;
    }
    const std::size_t second = with.front();
    const std::int64_t offset = *LowestShared(patches[second], MergedRuns(patches[first]));
    return Conflict{first, second, ZoneCovering(patches[first], offset),
                    ZoneCovering(patches[second], offset), offset};
  }
  return std::nullopt;
}

}  // namespace varnock
