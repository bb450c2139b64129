#include "app/history_texts.h"

#include "history/history_actions.h"
#include "history/history_store.h"
#include "history/history_view.h"
#include "support/sha256.h"

namespace varnock {

namespace {

// The record of the executable read against the file as it is now; false when none is kept.
bool ReadHistory(const std::string& exePath, const std::string& folder, HistoryRecord& record,
                 HistoryView& view) {
  const std::string sha = FileSha256Text(exePath);
  if (sha.empty() || !FindHistory(folder, exePath, sha, record)) {
    return false;
  }
  view = ViewHistory(record, sha);
  return true;
}

std::string Names(const HistoryEntry& entry) {
  std::string names;
  for (const PatchNote& patch : entry.patches) {
    names += (names.empty() ? "" : ", ") + patch.name;
    if (patch.argument) {
      names += " (" + *patch.argument + ")";
    }
  }
  return names;
}

}  // namespace

std::string RestoreConfirmation(const std::string& exePath, const std::string& folder) {
  const HistoryOutcome check = RestoreOriginal(exePath, folder, true, false);
  return check.message + "\r\n\r\nRestore " + exePath + " to its original now?";
}

std::string UndoConfirmation(const std::string& exePath, const std::string& folder) {
  HistoryRecord record;
  HistoryView view;
  if (!ReadHistory(exePath, folder, record, view) || !view.undoable) {
    return "No change to " + exePath + " can be undone.\r\n\r\nTry anyway?";
  }
  const HistoryEntry& last = record.entries[*view.undoable];
  return "Undo the " + last.kind + " of " + last.time + " (" + Names(last) + ") on " + exePath +
         "?";
}

std::string HistoryLines(const std::string& exePath, const std::string& folder) {
  HistoryRecord record;
  HistoryView view;
  if (!ReadHistory(exePath, folder, record, view)) {
    return "No history is kept for " + exePath;
  }
  std::string text = "History of " + exePath;
  for (std::size_t i = view.first; i < record.entries.size(); ++i) {
    const HistoryEntry& entry = record.entries[i];
    text += "\r\n" + entry.time + "  " + entry.kind + "  " + Names(entry);
    if (view.states[i] == EntryState::Unused) {
      text += "  (unused: interrupted)";
    }
  }
  if (!view.matchesLast) {
    text += "\r\nchanged by another program since";
  }
  return text;
}

}  // namespace varnock
