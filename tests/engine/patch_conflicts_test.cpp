#include "engine/patch_conflicts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace varnock::testing {
namespace {

using Spans = std::vector<ZoneSpan>;

bool Share(const ZoneSpan& a, const ZoneSpan& b) {
  return a.length > 0 && b.length > 0 && a.offset < b.offset + b.length &&
         b.offset < a.offset + a.length;
}

// The plain way: every pair of patches, every pair of zones.
std::vector<std::size_t> ReferenceWith(const std::vector<Spans>& patches, std::size_t patch) {
  std::vector<std::size_t> with;
  for (std::size_t other = 0; other < patches.size(); ++other) {
    for (const ZoneSpan& a : patches[patch]) {
      if (other != patch && (with.empty() || with.back() != other) &&
          std::any_of(patches[other].begin(), patches[other].end(),
                      [&](const ZoneSpan& b) { return Share(a, b); })) {
        with.push_back(other);
      }
    }
  }
  return with;
}

// Random sets of patches, small enough to collide often: zones that overlap within a patch,
// empty ones, patches that write nothing, and copies of earlier patches with their zones in
// another order.
std::vector<Spans> RandomPatches(std::mt19937& random) {
  std::vector<Spans> patches(std::uniform_int_distribution<std::size_t>(1, 24)(random));
  for (std::size_t p = 0; p < patches.size(); ++p) {
    if (p > 0 && random() % 3 == 0) {
      patches[p] = patches[random() % p];
      std::shuffle(patches[p].begin(), patches[p].end(), random);
      continue;
    }
    const std::size_t zones = random() % 6;
    for (std::size_t z = 0; z < zones; ++z) {
      patches[p].push_back(
          {static_cast<std::int64_t>(random() % 300), static_cast<std::int64_t>(random() % 12), z});
    }
  }
  return patches;
}

TEST(PatchConflictsTest, AgreesWithEveryPairComparedOnRandomSets) {
  std::mt19937 random(2025);
  for (int round = 0; round < 2000; ++round) {
    const std::vector<Spans> patches = RandomPatches(random);
    // The same patches as records, moved by one shift, seen as a folder sees them: in runs.
    PatchConflicts conflicts;
    PatchConflicts asRuns;
    const std::int32_t shift = static_cast<std::int32_t>(random() % 9) - 4;
    for (const Spans& spans : patches) {
      conflicts.Add(spans);
      PatchRecord record;
      for (const ZoneSpan& span : spans) {
        const auto length = static_cast<std::int32_t>(span.length);
        record.Zones.push_back({static_cast<std::int32_t>(span.offset) - shift, length, {}, {}});
      }
      const Spans runs = WrittenRuns(record, shift);
      for (std::size_t r = 1; r < runs.size(); ++r) {
        ASSERT_LT(runs[r - 1].End(), runs[r].offset) << "round " << round;
      }
      asRuns.Add(runs);
    }
    conflicts.Find();
    asRuns.Find();
    std::optional<Conflict> first;
    for (std::size_t p = 0; p < patches.size(); ++p) {
      const std::vector<std::size_t> expected = ReferenceWith(patches, p);
      ASSERT_EQ(conflicts.With(p), expected) << "round " << round << ", patch " << p;
      ASSERT_EQ(conflicts.Count(p), expected.size());
      ASSERT_EQ(asRuns.With(p), expected) << "round " << round << ", patch " << p;
      const std::size_t limit = random() % 4;
      ASSERT_EQ(conflicts.With(p, limit),
                std::vector<std::size_t>(expected.begin(),
                                         expected.begin() + std::min(limit, expected.size())));
      if (!first && !expected.empty() && expected.front() > p) {
        first = Conflict{p, expected.front(), 0, 0, 0};
      }
    }
    const std::optional<Conflict> found = FirstConflict(patches);
    ASSERT_EQ(found.has_value(), first.has_value()) << "round " << round;
    if (!found) {
      continue;
    }
    ASSERT_EQ(std::make_pair(found->first, found->second),
              std::make_pair(first->first, first->second));
    // The byte named is shared by the zones named, and no lower byte is shared.
    const ZoneSpan byte{found->offset, 1, 0};
    for (const auto& [patch, zone] :
         {std::pair(found->first, found->firstZone), std::pair(found->second, found->secondZone)}) {
      EXPECT_TRUE(std::any_of(
          patches[patch].begin(), patches[patch].end(),
          [&](const ZoneSpan& span) { return span.zone == zone && Share(span, byte); }));
    }
    for (const ZoneSpan& a : patches[found->first]) {
      for (const ZoneSpan& b : patches[found->second]) {
        EXPECT_FALSE(Share(a, b) && std::max(a.offset, b.offset) < found->offset);
      }
    }
  }
}

}  // namespace
}  // namespace varnock::testing
