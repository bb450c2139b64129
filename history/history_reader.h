#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "history/history_record.h"
#include "support/sha256.h"

namespace varnock {

// The first line of a record, of this version and of the first (which had no sum).
inline constexpr std::string_view kHistoryHeader = "varnock-history\t2";
inline constexpr std::string_view kLegacyHistoryHeader = "varnock-history\t1";
// The start of the last line of a record, followed by the SHA-256 of every line before it.
inline constexpr std::string_view kHistorySumField = "sum\t";

// Where the entries of a stored record lie in its text: what a new entry is written after.
struct StoredEntries {
  std::uint64_t start = 0;  // the first byte after the original's line
  std::uint64_t end = 0;    // the first byte of the sum line; the text's end when it has none
  std::string sha256;       // of the text's first `end` bytes
};

// Reads a record line by line as it comes, checking every line as it goes and the sum at the
// end, so that the text need never be held whole; a record read is given out only once its sum
// matched. Either every entry's ranges are kept, or (`allRanges` false) only those of the last
// entry that has any: all that finding the record of a file needs.
class HistoryReader {
 public:
  explicit HistoryReader(bool allRanges = true) : allRanges_(allRanges) {}

  // One line, without its '\n'. False once the text is no whole record: every later line is
  // refused too.
  bool Line(std::string_view line);
  // After the last line; `closed` when the text ended with '\n'. False when the text is no
  // whole, undamaged record.
  bool Finish(bool closed, HistoryRecord& record, StoredEntries* stored = nullptr);

 private:
  bool Header(std::string_view line);
  bool SumLine(std::string_view line);
  bool BodyLine(std::string_view line);
  bool CloseEntry();

  bool allRanges_;
  bool failed_ = false;
  bool started_ = false;
  bool legacy_ = false;
  bool summed_ = false;
  bool haveOriginal_ = false;
  std::uint64_t offset_ = 0;
  Sha256 sum_;
  std::string textSha256_;
  HistoryRecord record_;
  std::optional<HistoryEntry> open_;
  std::optional<std::size_t> lastRanged_;
  StoredEntries stored_;
};

}  // namespace varnock
