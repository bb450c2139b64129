#include "history/history_summary.h"

#include "history/history_actions.h"

namespace varnock {

namespace {

const char* StateText(EntryState state) {
  switch (state) {
    case EntryState::Used:
      return "";
    case EntryState::Unused:
      return "unused (interrupted)";
    case EntryState::ChangedSince:
      return "changed by another program since";
  }
  return "";
}

// The arguments as --arg takes them: the value alone for one patch, NAME=VALUE for several.
std::string ArgumentsText(const HistoryEntry& entry) {
  std::string text;
  for (const PatchNote& patch : entry.patches) {
    if (patch.argument) {
      text += (text.empty() ? "" : ", ") +
              (entry.patches.size() > 1 ? patch.name + "=" : std::string()) + *patch.argument;
    }
  }
  return text;
}

HistoryRow RowOf(const HistoryEntry& entry, EntryState state) {
  HistoryRow row{entry.time, entry.kind, {}, ArgumentsText(entry), StateText(state)};
  for (const PatchNote& patch : entry.patches) {
    row.patches += (row.patches.empty() ? "" : ", ") + patch.name;
  }
  return row;
}

// "the apply of 2026-12-07T17:30:00Z (Patch_A.ptc, --arg 7)"
std::string Describe(const HistoryEntry& entry) {
  const HistoryRow row = RowOf(entry, EntryState::Used);
  std::string what = "the " + row.what + " of " + row.time;
  if (!row.patches.empty()) {
    what += " (" + row.patches + (row.arguments.empty() ? "" : ", --arg " + row.arguments) + ")";
  }
  return what;
}

std::string ByteCount(std::uint64_t count) {
  return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

}  // namespace

std::string MatchesLastText(bool matchesLast) {
  return matchesLast ? "matches the record's last state" : StateText(EntryState::ChangedSince);
}

std::vector<HistoryRow> HistoryRows(const HistoryRecord& record, const HistoryView& view) {
  std::vector<HistoryRow> rows;
  for (std::size_t i = 0; i < record.entries.size(); ++i) {
    rows.push_back(RowOf(record.entries[i], view.states[i]));
  }
  return rows;
}

std::vector<std::string> HistoryNotes(const HistoryRecord& record, const HistoryView& view) {
  std::vector<std::string> notes;
  if (!record.follows.empty()) {
    notes.push_back("the history before these operations is damaged: it is kept at " +
                    record.follows);
  }
  for (std::size_t i = 0; i < record.entries.size(); ++i) {
    if (view.breaks[i]) {
      notes.push_back("another program changed the file before the " + record.entries[i].kind +
                      " of " + record.entries[i].time +
                      ": a restore gives back only what the original's SHA-256 confirms");
    }
  }
  return notes;
}

std::string RestoreQuestion(const std::string& exePath, const HistoryRecord& record,
                            const HistoryView& view, const Bytes& image) {
  std::uint64_t differing = 0;
  for (const auto& [offset, bytes] : view.originals) {
    for (std::size_t i = 0; i < bytes.size() && offset + i < image.size(); ++i) {
      differing += image[offset + i] != bytes[i] ? 1 : 0;
    }
  }
  if (differing == 0 || image.size() != view.originalSize) {
    return {};
  }
  std::vector<std::size_t> taken;
  for (std::size_t i : view.standing) {
    if (record.entries[i].kind == "restore") {
      taken.clear();  // what a restore took back already
    } else {
      taken.push_back(i);
    }
  }
  std::string text = "Restore the original of " + exePath + "?\n\n" + ByteCount(differing) +
                     " that Varnock changed get their original values back" +
                     (taken.empty() ? "." : ", taking back:");
  for (const std::size_t i : taken) {
    text += "\n- " + Describe(record.entries[i]);
  }
  if (!view.matchesLast) {
    text += "\n\nAnother program changed the file since Varnock's last change.";
  }
  return text +
         "\n\nThe whole file is then checked against the original's SHA-256: when other bytes "
         "differ from the original, nothing is written.";
}

std::string UndoQuestion(const std::string& exePath, const HistoryRecord& record,
                         const HistoryView& view, const std::string& sha256) {
  if (!view.undoable || record.entries[*view.undoable].after != sha256) {
    return {};
  }
  const HistoryEntry& last = record.entries[*view.undoable];
  std::uint64_t bytes = 0;
  for (const RecordedRange& range : last.ranges) {
    bytes += range.before.size();
  }
  return "Undo the last change of " + exePath + "?\n\n" + Describe(last) +
         " is taken back: " + ByteCount(bytes) + " get the values they had before it.";
}

HistorySummary SummarizeHistory(const std::string& folder, const std::string& exePath) {
  HistorySummary summary;
  OpenedHistory opened;
  std::string error;
  if (!OpenHistory(exePath, folder, opened, error)) {
    return summary;
  }
  const HistoryRecord& record = opened.found.record;
  summary.kept = true;
  summary.rows = HistoryRows(record, opened.view);
  summary.matchesLast = opened.view.matchesLast;
  summary.restoreQuestion = RestoreQuestion(exePath, record, opened.view, opened.image);
  summary.undoQuestion = UndoQuestion(exePath, record, opened.view, opened.sha256);
  summary.canRestore = !summary.restoreQuestion.empty();
  summary.canUndo = !summary.undoQuestion.empty();
  return summary;
}

}  // namespace varnock
