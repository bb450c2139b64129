#include <gtest/gtest.h>

#include <random>

#include "history/history_record.h"
#include "history/history_view.h"
#include "support/sha256.h"

namespace varnock {
namespace {

Bytes Randomly(std::mt19937& random, std::size_t size) {
  Bytes bytes(size);
  for (auto& byte : bytes) {
    byte = static_cast<std::uint8_t>(random());
  }
  return bytes;
}

// Puts the recorded original bytes back into `image`.
void WriteOriginals(const HistoryView& view, Bytes& image) {
  for (const auto& [offset, bytes] : view.originals) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<long>(offset));
  }
}

// Random runs of changes, overlapping ones included, with now and then a run interrupted between
// its record and its rewrite: the ranges found from the bytes under each change are those found
// from the whole image, and give back its SHA-256; the stored record, read back, always gives
// the original byte for byte, and undo takes back the operations that took effect, newest first.
TEST(HistoryRecordTest, RecordGivesBackTheOriginalAndUndoWalksBack) {
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    const Bytes original = Randomly(random, 64 + random() % 512);
    HistoryRecord record{"/x", original.size(), Sha256Text(original), {}};
    std::vector<Bytes> states{original};  // the file after each operation that took effect
    Bytes image = original;
    const int operations = 1 + static_cast<int>(random() % 6);
    for (int op = 0; op < operations; ++op) {
      Bytes next = image;
      ByteRuns found;  // as the engine keeps them, zone by zone
      for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n) {
        const std::size_t at = random() % next.size();
        const std::size_t length = std::min<std::size_t>(1 + random() % 40, next.size() - at);
        const Bytes fresh = Randomly(random, length);
        KeepFirstValues(found, {at, Bytes(next.begin() + at, next.begin() + at + length), {}});
        std::copy(fresh.begin(), fresh.end(), next.begin() + static_cast<long>(at));
      }
      HistoryEntry entry{"t",
                         "apply",
                         {{"p#1#.ptc", "00", "7"}},
                         Sha256Text(image),
                         Sha256Text(next),
                         ChangedRanges(image, next)};
      const std::vector<RecordedRange> fromRuns = ChangedRanges(found, next);
      ASSERT_EQ(fromRuns.size(), entry.ranges.size()) << seed;
      for (std::size_t r = 0; r < fromRuns.size(); ++r) {
        EXPECT_EQ(fromRuns[r].offset, entry.ranges[r].offset) << seed;
        EXPECT_EQ(fromRuns[r].before, entry.ranges[r].before) << seed;
      }
      EXPECT_EQ(Sha256Before(next, fromRuns), entry.before) << seed;
      record.entries.push_back(entry);
      if (random() % 4 != 0) {  // else the run was killed before its rewrite
        image = next;
        states.push_back(image);
      }
    }
    std::string text = EncodeHistory(record);
    text += "op\tt\tapply\taa\tbb\nrange\t1\t0";  // an entry cut short by a crash
    HistoryRecord read;
    ASSERT_TRUE(DecodeHistory(text, read)) << seed;
    ASSERT_EQ(EncodeHistory(read), EncodeHistory(record)) << seed;

    HistoryView view = ViewHistory(read, Sha256Text(image));
    EXPECT_TRUE(view.matchesLast) << seed;
    Bytes restored = image;
    WriteOriginals(view, restored);
    EXPECT_EQ(restored, original) << seed;

    for (std::size_t k = states.size() - 1; k > 0; --k) {
      ASSERT_TRUE(view.undoable.has_value()) << seed;
      const HistoryEntry& undone = read.entries[*view.undoable];
      HistoryEntry undo{"t", "undo", {}, Sha256Text(image), undone.before, {}};
      Bytes back = image;
      for (const RecordedRange& range : undone.ranges) {
        std::copy(range.before.begin(), range.before.end(),
                  back.begin() + static_cast<long>(range.offset));
      }
      undo.ranges = ChangedRanges(image, back);
      image = back;
      EXPECT_EQ(image, states[k - 1]) << seed;
      read.entries.push_back(undo);
      view = ViewHistory(read, Sha256Text(image));
    }
    EXPECT_FALSE(view.undoable.has_value()) << seed;
  }
}

TEST(HistoryRecordTest, AnotherProgramsChangeAndARestoreShowInTheView) {
  const Bytes a{1, 2, 3, 4}, b{1, 9, 3, 4}, c{1, 9, 3, 7};
  HistoryRecord record{"/x", 4, Sha256Text(a), {}};
  record.entries.push_back({"t", "apply", {}, Sha256Text(a), Sha256Text(b), ChangedRanges(a, b)});
  HistoryView view = ViewHistory(record, Sha256Text(c));
  EXPECT_EQ(view.states[0], EntryState::ChangedSince);
  EXPECT_FALSE(view.matchesLast);

  record.entries.push_back({"t", "restore", {}, Sha256Text(c), Sha256Text(a), {}});
  record.entries.push_back({"t", "apply", {}, Sha256Text(a), Sha256Text(c), ChangedRanges(a, c)});
  view = ViewHistory(record, Sha256Text(c));
  EXPECT_EQ(view.first, 1u);
  EXPECT_EQ(view.originals.size(), 2u);  // only what changed since the restore
  EXPECT_EQ(view.undoable, 2u);
}

}  // namespace
}  // namespace varnock
