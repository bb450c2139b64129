#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "history/history_reader.h"
#include "history/history_record.h"

namespace varnock {

// The folder of the records: history/ in the per-user data folder; empty when there is none.
std::string HistoryFolder();

// The path an executable's record is first kept at in `folder`: named for the SHA-256 of the
// executable's resolved path, so that every name of the file through a symbolic link finds it.
std::string HistoryPathFor(const std::string& folder, const std::string& exePath);

// Which file the name `exePath` leads to now, as a text ("volume:index"); empty when unknown.
std::string FileIdentityText(const std::string& exePath);

// The byte the executable holds at `offset` now (inside it).
using ContentProbe = std::function<std::uint8_t(std::uint64_t offset)>;

// What was found of the record of an executable.
struct FoundHistory {
  enum class Kind {
    None,       // no record: a new one goes to `storedAt`
    Found,      // `record`, kept at `storedAt`
    Damaged,    // the record is damaged: it was moved aside to `damagedCopy`
    Ambiguous,  // the records at `matching` (two or more) each fit the file
  };
  Kind kind = Kind::None;
  HistoryRecord record;
  StoredEntries stored;  // where the entries of `record` lie in its text
  std::string storedAt;
  std::string damagedCopy;
  std::vector<std::string> matching;
};

// The record of the executable at `exePath`, whose content now has `size` bytes, SHA-256
// `currentSha256`, and the bytes `holds` tells of. A record fits the file when the file is in
// its last state, or when it is the file the record was kept for (its path, or under another
// name its identity) and its content still goes on from the record: the original's size, and a
// recorded range that holds the bytes before or after its change. A record kept for the path that
// does not fit is another file's (a new build installed there): it is left as it is. The record
// is read a line at a time, never held as text; `allRanges` false keeps the ranges of its last
// entry that has any and no others: enough to add an entry to it.
FoundHistory FindHistory(const std::string& folder, const std::string& exePath,
                         const std::string& currentSha256, std::uint64_t size,
                         const ContentProbe& byteAt, bool allRanges = true);

// Writes to `storedAt` (the folder made when missing) the record of the executable at
// `exePath` with `header`'s lines, the entries of the record there now (`kept`, as found; none
// when null) and `entry`, and flushes it: whole or not at all, also when the program is killed
// meanwhile. The entries there are copied as they are, a piece at a time, so an entry added
// costs memory for itself alone. False with the reason.
bool SaveHistory(const std::string& storedAt, const std::string& exePath, HistoryRecord header,
                 const StoredEntries* kept, const HistoryEntry& entry, std::string& error);

// Keeps beside the record at `storedAt` the identity the executable at `exePath` has after
// Varnock's write (which may replace the file by a new one). Not flushed: an identity lost in a
// crash is the one the record holds, from before the write.
void KeepIdentity(const std::string& storedAt, const std::string& exePath);

// Keeps beside the record of the executable at `exePath` the SHA-256 of the content Varnock
// has just written, with the file's stamp after the write (LockedFile::Stamp). Not flushed: a
// stamp lost in a crash only means that the content is summed again.
void KeepStamp(const std::string& folder, const std::string& exePath, const std::string& stamp,
               const std::string& sha256);
// The SHA-256 kept with `stamp` for the executable at `exePath`; empty when none was kept or
// the file shows another stamp now (it was written since).
std::string StampedSha256(const std::string& folder, const std::string& exePath,
                          const std::string& stamp);

}  // namespace varnock
