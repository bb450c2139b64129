#pragma once

#include <string>

#include "history/operation_history.h"
#include "support/bytes.h"
#include "support/safe_rewrite.h"

namespace varnock {

// Replaces the content of the held executable at `exePath` with `after`, the change recorded in
// `history` first: the record is made while the new content goes to disk, and written and
// flushed before the file is replaced. A record that cannot be written leaves its reason in
// `history`; then a Required change writes nothing, and an Optional one is written all the same.
// The SHA-256 before, when `change` does not give it, is the one kept for the file's stamp
// (when Varnock wrote it last and nobody wrote it since), else summed. False, with the reason in
// `error`, when the file was not rewritten.
bool RecordedRewrite(LockedFile& file, const std::string& exePath, const Bytes& after,
                     OperationHistory& history, RecordedChange change, std::string& error);

}  // namespace varnock
