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

// A stretch of the file, from `offset` to `end`.
struct OffsetSpan {
  std::uint64_t offset = 0;
  std::uint64_t end = 0;
};

// The record read against the file as it is now: which entries took effect, where the chain of
// sums breaks (an entry that began from a state no earlier entry left: another program changed
// the file in between), the original bytes that are known, and what undo would undo.
//
// A byte's original is known when it was first recorded in a stretch of entries that runs
// unbroken from the original (or from a state whose sum is the original's): nothing but
// Varnock's recorded changes touched the file there. Bytes first recorded after a break are
// not known to hold their original before the change.
struct HistoryView {
  std::vector<EntryState> states;  // one per entry of the record
  std::vector<bool> breaks;        // one per entry: it began after a break of the chain
  bool matchesLast = false;        // the file is as the last entry that took effect left it
  // No break since the chain last ran from the original: the known bytes are still known to be
  // the file's own originals, which a forced restore may write without the whole file's sum.
  bool unbroken = true;
  std::uint64_t originalSize = 0;
  std::string originalSha256;
  // The original byte of every byte whose original is known, as ranges by offset that do not
  // overlap.
  std::map<std::uint64_t, Bytes> originals;
  // The bytes changed after a break whose original is not known, in rising order.
  std::vector<OffsetSpan> unknown;
  // The operations that took effect and were not taken back, oldest first; undo takes back the
  // last of them.
  std::vector<std::size_t> standing;
  std::optional<std::size_t> undoable;
};

// `currentSha256` is the file's SHA-256 now.
HistoryView ViewHistory(const HistoryRecord& record, const std::string& currentSha256);

// Adds the bytes of `range` to `originals` where no byte is recorded yet: a byte first recorded
// keeps its first value. A run that goes on from the one before it joins that one.
void KeepFirstValues(std::map<std::uint64_t, Bytes>& originals, const RecordedRange& range);

}  // namespace varnock
