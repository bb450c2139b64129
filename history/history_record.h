#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/bytes.h"

namespace varnock {

// A patch file an operation used: its name, the SHA-256 of its content, and the argument it was
// given (none when it takes none, or took the value its name carries).
struct PatchNote {
  std::string name;
  std::string sha256;
  std::optional<std::string> argument;
};

// The bytes a range held before an operation changed it, and those it wrote there.
struct RecordedRange {
  std::uint64_t offset = 0;
  Bytes before;
  Bytes after;
};

// What one rewrite of the executable changed: when (UTC), what ("apply", "remove", "batch",
// "restore", "undo"), with which patches, the SHA-256 of the whole file before and after, and
// the old bytes of every range it changed.
struct HistoryEntry {
  std::string time;
  std::string kind;
  std::vector<PatchNote> patches;
  std::string before;
  std::string after;
  std::vector<RecordedRange> ranges;
};

// Everything Varnock changed in one executable: the path and identity (FileIdentityText) it was
// last known by, the damaged record it replaced if any, the original's size and SHA-256, and the
// operations in the order they were made.
struct HistoryRecord {
  std::string path;
  std::string identity;
  std::string follows;  // where the damaged record this one was started after lies
  std::uint64_t originalSize = 0;
  std::string originalSha256;
  std::vector<HistoryEntry> entries;
};

// The record as it is stored: lines of tab-separated fields, each entry closed by an "end"
// line, the whole closed by a "sum" line with the SHA-256 of every line before it.
std::string EncodeHistory(const HistoryRecord& record);
// Where the text of a record goes, a piece at a time.
using TextOut = std::function<void(std::string_view)>;
// The lines of a record before its entries: its first, the path, identity, damaged record it
// follows, and the original.
void EncodeHeader(const HistoryRecord& record, const TextOut& out);
// The lines of one entry, up to its "end" line; a large range goes out in pieces.
void EncodeEntry(const HistoryEntry& entry, const TextOut& out);
// False when the text is no whole, undamaged record: its sum does not match, or any line, sum
// or range is out of place (ranges lie inside the original, in rising order, apart). A record
// of the first version, which had no sum, is read when every line of it is whole and in place.
bool DecodeHistory(const std::string& text, HistoryRecord& record);

// The ranges where `after` differs from `before` (images of one length), with their bytes in
// both.
std::vector<RecordedRange> ChangedRanges(const Bytes& before, const Bytes& after);

// Bytes of a file by offset, as runs that do not overlap.
using ByteRuns = std::map<std::uint64_t, Bytes>;
// The ranges where `after` differs from the runs of `before`, the bytes a change found where it
// may have written.
std::vector<RecordedRange> ChangedRanges(const ByteRuns& before, const Bytes& after);
// The SHA-256 of the content that `after` was before `ranges` (in rising order) changed it.
std::string Sha256Before(const Bytes& after, const std::vector<RecordedRange>& ranges);

// The time now, as 2026-12-07T17:30:00Z.
std::string UtcNowText();

}  // namespace varnock
