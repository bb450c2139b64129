#pragma once

#include <string>
#include <vector>

#include "history/history_summary.h"

namespace varnock {

// The Patches window's texts about the history of the chosen executable, made from what the
// history tells (its summary, the outcome of an action) in words for the window: each a whole
// sentence of its own, and none with the command line's syntax.

// What the History window shows.
struct HistoryListing {
  std::string title;              // "History of " and the executable
  std::vector<std::string> rows;  // one an operation, oldest first
  std::string state;              // whether the file is as the last change left it
};

// What the window's history buttons do.
enum class HistoryAction { Show, Undo, Restore };

// Why the button does nothing when no executable is chosen in the main window.
std::string NoProgramText(HistoryAction action);
// Why it has nothing to show or act on when the summary says no history is kept: the file
// cannot be read, or no history is kept for it; empty when a history is kept.
std::string NoHistoryText(const std::string& exePath, const HistorySummary& summary,
                          HistoryAction action);
// The rows of a history that is kept.
HistoryListing ListHistory(const std::string& exePath, const HistorySummary& summary);
// Why "Undo last change" has nothing to ask about: no history, another program's change since
// the last, or nothing left to undo.
std::string NothingToUndoText(const std::string& exePath, const HistorySummary& summary);
// The refusal of a restore because another program changed bytes Varnock did not: told
// without a count of bytes, as only the original's checksum knows those.
std::string RefusedRestoreText(const std::string& exePath);
// A question of the history with the patches' arguments named in words, not as options.
std::string InWindowWords(std::string question);
// The arguments of several patches, NAME=VALUE as the command line takes them, as
// "NAME: VALUE".
std::string NamedValuesInWords(std::string text);

}  // namespace varnock
