#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/patch_status.h"
#include "patchfile/patch_record.h"

namespace varnock {

// A run of bytes that a patch writes, where it lies on one executable.
struct ZoneSpan {
  std::int64_t offset = 0;
  std::int64_t length = 0;
  std::size_t zone = 0;  // the zone's index in its patch
  std::int64_t End() const { return offset + length; }
};

// Two patches whose zones share at least one byte.
struct Conflict {
  std::size_t first = 0;  // the patches' indexes, first < second
  std::size_t second = 0;
  std::size_t firstZone = 0;  // the zones that share the byte
  std::size_t secondZone = 0;
  std::int64_t offset = 0;  // the lowest byte they share
};

// The zones a patch writes, as placed on the executable: moved by `shift` from where `record`
// has them.
std::vector<ZoneSpan> WrittenSpans(const PatchRecord& record, std::int64_t shift = 0);
// The same bytes in disjoint runs by rising offset, zones that overlap or touch merged into one
// (each named by its first zone): what a folder keeps of a patch to find its conflicts. Zones
// in rising order, the common case, are merged as they come, without a span for each.
std::vector<ZoneSpan> WrittenRuns(const PatchRecord& record, std::int64_t shift);

// Which patches of a set share a byte, found by one sweep over their spans sorted by offset.
// A patch's own spans are first merged into disjoint runs, so that zones overlapping within one
// patch cost nothing; patches whose runs are the same (copies, and variants that differ only in
// their bytes) form one group, swept once. The cost is O(n log n) in the runs plus the pairs of
// groups that share a byte, and that is also the memory kept.
class PatchConflicts {
 public:
  // The next patch of the set, with the spans it writes (see WrittenSpans).
  void Add(const std::vector<ZoneSpan>& spans);
  // The sweep, once every patch has been added.
  void Find();

  std::size_t PatchCount() const { return groupOf_.size(); }
  // How many other patches share a byte with `patch`.
  std::size_t Count(std::size_t patch) const;
  // Those patches in rising order of index; only the first `limit` of them.
  std::vector<std::size_t> With(std::size_t patch,
                                std::size_t limit = std::numeric_limits<std::size_t>::max()) const;

 private:
  using Run = std::pair<std::int64_t, std::int64_t>;  // [first, second)
  struct RunsHash {
    std::size_t operator()(const std::vector<Run>& runs) const;
  };
  static constexpr std::uint32_t kNoGroup = std::numeric_limits<std::uint32_t>::max();

  std::vector<std::uint32_t> groupOf_;             // by patch
  std::vector<std::vector<std::size_t>> members_;  // by group, rising
  std::unordered_map<std::vector<Run>, std::uint32_t, RunsHash> groups_;
  std::vector<std::size_t> neighbourStart_;  // by group, into neighbours_ (one more at the end)
  std::vector<std::uint32_t> neighbours_;    // the other groups that share a byte with each
};

// The pair of patches that conflict with the lowest first index, then the lowest second, with
// the lowest byte they share; none when no two patches share a byte.
std::optional<Conflict> FirstConflict(const std::vector<std::vector<ZoneSpan>>& patches);

}  // namespace varnock
