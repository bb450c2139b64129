#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/bytes.h"
#include "support/native_file.h"

namespace varnock {

// One range a write in place changes: where it starts, how many new bytes go there, and the
// bytes it held before (fewer where the file grows past its old end, none past it).
struct ChangedRange {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  Bytes old;
};

// Everything needed to undo a write in place that was interrupted: the file it is for, its
// old and new size, a checksum of its whole old and new content, and the old bytes of every
// range the write changes.
struct RewriteJournal {
  FileIdentity identity;
  std::uint64_t oldSize = 0;
  std::uint64_t newSize = 0;
  std::uint64_t oldChecksum = 0;
  std::uint64_t newChecksum = 0;
  std::vector<ChangedRange> ranges;
};

// The journal as it is stored: a mark, the fields in little-endian order, the ranges, and a
// checksum of all that comes before it.
Bytes EncodeJournal(const RewriteJournal& journal);
// False for anything that is not a whole journal: one cut short while it was written, a
// damaged one, a file of another kind.
bool DecodeJournal(const Bytes& stored, RewriteJournal& journal);

// Where the journal of the file at `target` is kept: beside it, hidden, when its folder takes
// new files; else in the per-user folder, named for the file's identity (so that it is found
// through any of the file's names).
std::string JournalBeside(const std::string& target);
std::string JournalInUserFolder(const FileIdentity& identity);
// The per-user folder of the journals; made when `make` is true. Empty when there is none.
std::string UserJournalFolder(bool make);

// Writes `content` to a new or existing file at `path` and makes it durable: the file and,
// where the system allows, the folder's entry are flushed before it returns.
bool WriteDurably(const std::string& path, const Bytes& content, std::string& error);
// Deletes the file at `path` and makes the deletion durable. True when it is gone.
bool RemoveDurably(const std::string& path);

}  // namespace varnock
