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
// its record and its rewrite: the runs kept of the bytes under each change are apart, the ranges
// found from the bytes under each change are those found from the whole image, and give back its
// SHA-256; the stored record, read back, always gives the original byte for byte, and undo takes
// back the operations that took effect, newest first.
TEST(HistoryRecordTest, RecordGivesBackTheOriginalAndUndoWalksBack) {
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    const Bytes original = Randomly(random, 64 + random() % 512);
    HistoryRecord record{"/x", "", "", original.size(), Sha256Text(original), {}};
    std::vector<Bytes> states{original};  // the file after each operation that took effect
    Bytes image = original;
    const int operations = 1 + static_cast<int>(random() % 6);
    for (int op = 0; op < operations; ++op) {
      Bytes next = image;
      ByteRuns found;  // as the engine keeps them, zone by zone
      std::size_t zoneEnd = next.size();
      for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n) {
        const std::size_t at =
            zoneEnd < next.size() && random() % 2 == 0 ? zoneEnd : random() % next.size();
        const std::size_t length = std::min<std::size_t>(1 + random() % 40, next.size() - at);
        const Bytes fresh = Randomly(random, length);
        KeepFirstValues(found, {at, Bytes(next.begin() + at, next.begin() + at + length), {}});
        std::copy(fresh.begin(), fresh.end(), next.begin() + static_cast<long>(at));
        zoneEnd = at + length;
      }
      // Runs side by side are kept as one: no run ends where the next one starts.
      for (auto run = found.begin(); run != found.end() && std::next(run) != found.end(); ++run) {
        EXPECT_LT(run->first + run->second.size(), std::next(run)->first) << seed;
      }
      HistoryEntry entry{"2026-12-07T17:30:00Z", "apply",          {{"p#1#.ptc", "00", "7"}},
                         Sha256Text(image),      Sha256Text(next), ChangedRanges(image, next)};
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
    const std::string text = EncodeHistory(record);
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
      HistoryEntry undo{"2026-12-07T17:30:00Z", "undo", {}, Sha256Text(image), undone.before, {}};
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

// The text of `record` with its last line, the sum, made again: damage the sum does not see.
std::string Resummed(std::string text) {
  text.erase(text.rfind("sum\t"));
  return text + "sum\t" + Sha256Text(Bytes(text.begin(), text.end())) + "\n";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  return at == std::string::npos ? "not found: " + from : text.replace(at, from.size(), to);
}

// Damage of every kind, seen by the sum or by the reader's checks behind it, is refused whole;
// a record of the first version, without a sum, is read when every line of it is in place.
TEST(HistoryRecordTest, ADamagedRecordIsRefusedWhole) {
  const Bytes a(64, 0x11);
  Bytes b = a;
  b[8] = b[9] = 0x22;
  b[40] = 0x33;
  HistoryRecord record{"/games/tomb4.exe", "5:9", "", 64, Sha256Text(a), {}};
  record.entries.push_back({UtcNowText(),
                            "apply",
                            {{"A#7#.ptc", std::string(64, 'a'), "7"}},
                            Sha256Text(a),
                            Sha256Text(b),
                            ChangedRanges(a, b)});
  const std::string good = EncodeHistory(record);
  const std::string legacy =
      Replaced(good.substr(0, good.rfind("sum\t")), "history\t2", "history\t1");
  struct Row {
    const char* what;
    std::string text;
    bool read;
  } rows[] = {
      {"whole", good, true},
      {"the first version, whole", legacy, true},
      {"empty", "", false},
      {"first line", Replaced(good, "varnock-history", "varnock-histories"), false},
      {"a digit of old bytes", Replaced(good, "\t1111\t", "\t1112\t"), false},
      {"an offset", Replaced(good, "range\t8\t", "range\t9\t"), false},
      {"the sum", Replaced(good, "sum\t", "sum\t0"), false},
      {"cut short", good.substr(0, good.size() - 1), false},
      {"line ends", Replaced(good, "end\n", "end\r\n"), false},
      {"no sum", good.substr(0, good.rfind("sum\t")), false},
      {"offset past the end", Resummed(Replaced(good, "range\t40\t11\t33", "range\t99\t11\t33")),
       false},
      {"range over the end", Resummed(Replaced(good, "range\t40\t11\t33", "range\t63\t1111\t3333")),
       false},
      {"ranges overlap", Resummed(Replaced(good, "range\t40\t", "range\t9\t")), false},
      {"ranges out of order", Resummed(Replaced(good, "range\t8\t", "range\t50\t")), false},
      {"huge offset", Resummed(Replaced(good, "range\t40\t", "range\t18446744073709551615\t")),
       false},
      {"odd hex", Resummed(Replaced(good, "\t1111\t", "\t111\t")), false},
      {"sizes differ", Resummed(Replaced(good, "\t1111\t", "\t11\t")), false},
      {"unknown kind", Resummed(Replaced(good, "\tapply\t", "\tapplied\t")), false},
      {"short SHA-256", Resummed(Replaced(good, "\tapply\t" + Sha256Text(a), "\tapply\tab")),
       false},
      {"no end", Resummed(Replaced(good, "end\n", "")), false},
      {"a line of nothing", Resummed(Replaced(good, "end\n", "end\nwhat\n")), false},
      {"the first version, damaged", Replaced(legacy, "range\t8\t", "range\t8\tx"), false},
      {"the first version with a sum", Replaced(good, "history\t2", "history\t1"), false},
      {"a line after the sum", good + "end\n", false},
      {"the sum twice", good + good.substr(good.rfind("sum\t")), false},
      {"the sum before the last entry",
       Replaced(good, "op\t", good.substr(good.rfind("sum\t")) + "op\t"), false},
      {"the sum's name", Replaced(good, "\nsum\t", "\nSUM\t"), false},
  };
  for (const Row& row : rows) {
    HistoryRecord read;
    EXPECT_EQ(DecodeHistory(row.text, read), row.read) << row.what;
    if (row.read) {
      EXPECT_EQ(EncodeHistory(read), good) << row.what;
    } else {
      EXPECT_TRUE(read.entries.empty() && read.originalSha256.empty()) << row.what;
    }
  }
}

}  // namespace
}  // namespace varnock
