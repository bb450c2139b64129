#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "history/history_record.h"

namespace varnock {

// How an entry of the record stands against what followed it.
enum class EntryState {
  Used,         // the file went on from the state it left
  Unused,       // its rewrite never happened (a run interrupted between record and rewrite)
  ChangedSince  // another program changed the file after it
};

// The record read against the file as it is now: which entries took effect, the original bytes
// of every byte Varnock changed since the history last started afresh, and what undo would undo.
struct HistoryView {
  std::size_t first = 0;           // the entry the history starts with (after the last restore)
  std::vector<EntryState> states;  // one per entry of the record
  bool matchesLast = false;        // the file is as the last entry that took effect left it
  std::uint64_t originalSize = 0;
  std::string originalSha256;
  // The original byte of every byte changed, as ranges by offset that do not overlap.
  std::map<std::uint64_t, Bytes> originals;
  // The operations since the history started that took effect and were not taken back, oldest
  // first: what a restore takes back.
  std::vector<std::size_t> standing;
  // The entry undo would take back (the last of `standing`), if any.
  std::optional<std::size_t> undoable;
};

// `currentSha256` is the file's SHA-256 now.
HistoryView ViewHistory(const HistoryRecord& record, const std::string& currentSha256);

// Adds the bytes of `range` to `originals` where no byte is recorded yet: a byte first recorded
// keeps its first value.
void KeepFirstValues(std::map<std::uint64_t, Bytes>& originals, const RecordedRange& range);

}  // namespace varnock
