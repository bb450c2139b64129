#pragma once

#include <cstdint>
#include <string>

#include "support/bytes.h"
#include "support/native_file.h"
#include "support/rewrite_journal.h"
#include "support/safe_rewrite.h"

namespace varnock {

// Writes the bytes [from, to) of `content` at the same place in `file`, a chunk at a time,
// unless a test makes the disk full first (WriteFaults::allow_write).
bool WriteSpan(NativeFile& file, const Bytes& content, std::uint64_t from, std::uint64_t to,
               const WriteFaults& faults, std::string& error);

// Writes `content` over the held file, whose path is `target`, where the two differ. The old
// bytes of every range it changes go to a journal first (see rewrite_journal.h), which is
// flushed before the first byte of the file is written; then the ranges are written, the file
// is cut to its new length, flushed and read back, and the journal goes. A failure puts the old
// bytes back; a program killed meanwhile leaves the journal for the next opening of the file.
bool WriteInPlace(NativeFile& file, const std::string& target, const Bytes& content,
                  const WriteFaults& faults, std::string& error);

// Puts back the old bytes of a write in place of the held file that was interrupted, when a
// journal of it is found, and says so in `found`. A journal cut short or damaged is removed
// and one that does not fit the file as it is now is left alone: neither touches the file.
// False, with the reason in `error`, when a journal cannot be read, or one that fits cannot
// be applied (a file that may not be written, a failing disk): the file may then be half
// written and must not be used.
bool RollBackInterruptedWrite(NativeFile& file, const std::string& target, bool writable,
                              InterruptedWrite& found, std::string& error);

}  // namespace varnock
