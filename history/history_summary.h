#pragma once

#include <string>
#include <vector>

#include "history/history_record.h"
#include "history/history_view.h"

namespace varnock {

// One operation of an executable's history as the "History" list and `varnock-cli history`
// show it.
struct HistoryRow {
  std::string time;       // UTC, as 2026-12-07T17:30:00Z
  std::string what;       // "apply", "remove", "batch", "batch remove", "restore" or "undo"
  std::string patches;    // the patch files' names, ", " between them
  std::string arguments;  // as --arg takes them: the value for one patch, NAME=VALUE for
                          // several, ", " between them; empty when none was given
  std::string state;      // empty when it took effect; "unused (interrupted)"; or
                          // "changed by another program since"
};

// The rows of the record, oldest first.
std::vector<HistoryRow> HistoryRows(const HistoryRecord& record, const HistoryView& view);
// The line under them: "matches the record's last state", or "changed by another program
// since".
std::string MatchesLastText(bool matchesLast);

// What the rows cannot show, a line each: the damaged record a history was started after, and
// each break of the chain (another program changed the file between two of Varnock's changes,
// so the originals of the bytes Varnock changed after it are not known).
std::vector<std::string> HistoryNotes(const HistoryRecord& record, const HistoryView& view);

// The history of one executable as the windows show it, read from the record and the file.
struct HistorySummary {
  bool kept = false;             // a history is kept for the executable
  std::vector<HistoryRow> rows;  // oldest first
  bool matchesLast = false;      // the file is as Varnock's last change left it
  bool canRestore = false;       // some byte Varnock changed does not hold its original
  bool canUndo = false;          // there is a change to undo and the file is as it left it
  // The confirmations before "Restore original…" and "Undo last change": what will be done,
  // which operations, how many bytes, which patches. Empty when there is nothing to do.
  std::string restoreQuestion;
  std::string undoQuestion;
};

// Reads the executable at `exePath` and its history in `folder` (HistoryFolder()).
HistorySummary SummarizeHistory(const std::string& folder, const std::string& exePath);

// The confirmations of HistorySummary, from the record read against the file's content now
// (`image`, whose SHA-256 is `sha256`); empty when there is nothing to restore or undo.
std::string RestoreQuestion(const std::string& exePath, const HistoryRecord& record,
                            const HistoryView& view, const Bytes& image);
std::string UndoQuestion(const std::string& exePath, const HistoryRecord& record,
                         const HistoryView& view, const std::string& sha256);

}  // namespace varnock
