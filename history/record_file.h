#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "history/history_reader.h"
#include "history/history_record.h"

namespace varnock {

// Gives each line of the file at `path`, without its '\n', to `line`, reading a piece at a
// time: no more than the longest line is held. Stops at the first line `line` refuses; false
// then, or with `error` when the file cannot be read. `closed`: the file ended with '\n'.
bool ReadLines(const std::string& path, const std::function<bool(std::string_view)>& line,
               bool& closed, std::string& error);

// Writes to `path` (made, or emptied) and flushes the record of `header` (its path, identity,
// damaged record followed and original) whose entries are those of the record at `keptAt`
// (`kept`, as it was read; none when null) and then `entry`, closed by its sum. The kept
// entries are copied a piece at a time and the copy is refused unless the text they came from
// still has the SHA-256 it had when it was read. False with the reason.
bool WriteRecordFile(const std::string& path, const HistoryRecord& header,
                     const std::string& keptAt, const StoredEntries* kept,
                     const HistoryEntry& entry, std::string& error);

}  // namespace varnock
