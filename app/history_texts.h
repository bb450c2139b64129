#pragma once

#include <string>

#include "history/history_summary.h"

namespace varnock {

// The history of the executable at `exePath` as the Patches window's "History…" shows it: one
// line an operation, oldest first, then whether the file still matches the last.
std::string HistoryLines(const std::string& exePath, const HistorySummary& summary);

// Why "Undo last change" has nothing to ask about.
std::string NothingToUndoText(const std::string& exePath);

}  // namespace varnock
