#pragma once

#include <string>

namespace varnock {

// The Patches window's confirmations before "Restore original…" and "Undo last change", which
// name what will happen, and the history as lines, for the executable at `exePath` whose
// records are kept in `folder`.
std::string RestoreConfirmation(const std::string& exePath, const std::string& folder);
std::string UndoConfirmation(const std::string& exePath, const std::string& folder);
std::string HistoryLines(const std::string& exePath, const std::string& folder);

}  // namespace varnock
