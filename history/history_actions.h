#pragma once

#include <string>

#include "support/safe_rewrite.h"

namespace varnock {

// What a restore or an undo did (or, checked, would do), and what the user is told of it.
struct HistoryOutcome {
  bool ok = false;      // done, or would be done; nothing to do counts as done
  std::string message;  // one or more lines
  // Refused only because another program changed bytes the record does not hold: a forced
  // restore would write Varnock's recorded bytes back and leave those as they are.
  bool forceable = false;
};

// Writes back every byte the history of the executable at `exePath` holds the original of, in
// one crash-safe rewrite, and checks the whole file against the original's SHA-256. When other
// bytes differ (another program changed them) nothing is written unless `force`. `check` writes
// nothing and says what would be done. After a restore the history starts afresh.
HistoryOutcome RestoreOriginal(const std::string& exePath, const std::string& folder, bool check,
                               bool force, const RewriteHooks* hooks = nullptr);

// Takes back the last operation of the history that took effect and was not taken back yet,
// when the file is still as it left it.
HistoryOutcome UndoLast(const std::string& exePath, const std::string& folder,
                        const RewriteHooks* hooks = nullptr);

}  // namespace varnock
