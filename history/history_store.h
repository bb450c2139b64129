#pragma once

#include <string>

#include "history/history_record.h"

namespace varnock {

// The folder of the records: history/ in the per-user data folder; empty when there is none.
std::string HistoryFolder();

// The path an executable's record is kept at in `folder`: named for the SHA-256 of the
// executable's resolved path, so that every name of the file through a link finds it.
std::string HistoryPathFor(const std::string& folder, const std::string& exePath);

// The record of the executable at `exePath`, whose SHA-256 is now `currentSha256`: the one kept
// for its path, else (a file moved or copied) one whose last state is that content. False when
// there is none.
bool FindHistory(const std::string& folder, const std::string& exePath,
                 const std::string& currentSha256, HistoryRecord& record);

// Writes the record of the executable at `exePath` (the folder made when missing) and flushes
// it: whole or not at all, also when the program is killed meanwhile. False with the reason.
bool SaveHistory(const std::string& folder, const std::string& exePath, HistoryRecord record,
                 std::string& error);

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
