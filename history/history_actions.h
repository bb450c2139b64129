#pragma once

#include <string>

#include "history/history_store.h"
#include "history/history_view.h"
#include "support/safe_rewrite.h"
#include "support/write_faults.h"

namespace varnock {

// What a restore or an undo did (or, checked, would do), and what the user is told of it.
struct HistoryOutcome {
  bool ok = false;      // done, or would be done; nothing to do counts as done
  std::string message;  // one or more lines
  // Refused only because another program changed bytes the record does not hold: a forced
  // restore would write Varnock's recorded bytes back and leave those as they are.
  bool forceable = false;
  // The whole file's SHA-256 confirms the result: it is the original (a restore) or the state
  // before the change taken back (an undo). False after a forced restore that wrote only what
  // Varnock knows.
  bool confirmed = false;
};

// An executable opened as every command opens it (held against other writers, an interrupted
// write in place put back first), read, and its history found and read against it.
struct OpenedHistory {
  explicit OpenedHistory(const WriteFaults& faults = {}) : file(faults) {}
  LockedFile file;
  Bytes image;
  std::string sha256;
  FoundHistory found;
  HistoryView view;
};

// False with the message to show (and exit 1) when the file cannot be read, or no history, a
// damaged one, or two that fit are found for it.
bool OpenHistory(const std::string& exePath, const std::string& folder, OpenedHistory& opened,
                 std::string& error);

// The executable a restore or an undo is for, the folder of its history, and the faults a test
// puts into its rewrite.
struct HistoryRequest {
  std::string exePath;
  std::string folder;
  WriteFaults faults = {};
};

// Writes back every byte whose original the executable's history knows, in
// one crash-safe rewrite, when the whole result's SHA-256 is the original's. Otherwise nothing
// is written unless `reach` is Force: then only the known original bytes are written (never
// when the chain of Varnock's changes broke since the original), the others are left as they
// are and the ranges whose original is not known are named. `run` Check writes nothing and says
// what would be done. A restore is an entry of the history like any other: the earlier entries
// stay.
enum class RestoreRun { Write, Check };
enum class RestoreReach { WholeOriginal, Force };
HistoryOutcome RestoreOriginal(const HistoryRequest& request, RestoreRun run, RestoreReach reach);

// Takes back the last operation of the history that took effect and was not taken back yet,
// when the file is still as it left it: it holds the operation's new bytes in every range, and
// the result's SHA-256 is the one the file had before the operation.
HistoryOutcome UndoLast(const HistoryRequest& request);

}  // namespace varnock
