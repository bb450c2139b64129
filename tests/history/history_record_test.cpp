#include <gtest/gtest.h>

#include "history/history_record.h"
#include "support/sha256.h"

namespace varnock {
namespace {

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
