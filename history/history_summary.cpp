#include "history/history_summary.h"

#include "history/history_actions.h"
#include "history/shown_entry.h"
#include "support/translation.h"

namespace varnock {

namespace {

// In English: `varnock-cli history --json` gives it as it is. Tr translates it where a person
// reads it.
const char* StateText(EntryState state) {
  switch (state) {
    case EntryState::Used:
      return "";
    case EntryState::Unused:
      return TrNoop("unused (interrupted)");
    case EntryState::ChangedSince:
      return TrNoop("changed by another program since");
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
  // TRANSLATORS: an operation of the history, in a list or a question: %1 is the operation as
  // the history names it (apply, remove, batch, restore, undo), %2 its time, %3 its patch
  // files, %4 the arguments they were applied with
  const std::string what = OperationText(row.what);
  const std::string time = ShownTime(row.time);
  return row.patches.empty() ? TrFormat("the %1 of %2", {what, time})
         : row.arguments.empty()
             ? TrFormat("the %1 of %2 (%3)", {what, time, row.patches})
             : TrFormat("the %1 of %2 (%3, --arg %4)", {what, time, row.patches, row.arguments});
}

}  // namespace

std::string MatchesLastText(bool matchesLast) {
  return matchesLast ? Tr("matches the record's last state")
                     : Tr(StateText(EntryState::ChangedSince));
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
    notes.push_back(TrFormat("the history before these operations is damaged: it is kept at %1",
                             {record.follows}));
  }
  for (std::size_t i = 0; i < record.entries.size(); ++i) {
    if (view.breaks[i]) {
      notes.push_back(
          // TRANSLATORS: %1 is the operation as the history names it (apply, remove, batch,
          // restore, undo), %2 its time
          TrFormat("another program changed the file before the %1 of %2: a restore "
                   "gives back only what the original's SHA-256 confirms",
                   {OperationText(record.entries[i].kind), ShownTime(record.entries[i].time)}));
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
  const std::string count = std::to_string(differing);
  std::string text =
      differing == 1
          // TRANSLATORS: %1 is the executable's path, %2 a number of bytes; the operations taken
          // back follow the colon, a line each
          ? (taken.empty() ? TrFormat("Restore the original of %1?\n\n%2 byte that Varnock changed "
                                      "get their original values back.",
                                      {exePath, count})
                           : TrFormat("Restore the original of %1?\n\n%2 byte that Varnock changed "
                                      "get their original values back, taking back:",
                                      {exePath, count}))
          : (taken.empty() ? TrFormat("Restore the original of %1?\n\n%2 bytes that Varnock "
                                      "changed get their original values back.",
                                      {exePath, count})
                           : TrFormat("Restore the original of %1?\n\n%2 bytes that Varnock "
                                      "changed get their original values back, taking back:",
                                      {exePath, count}));
  for (const std::size_t i : taken) {
    text += "\n- " + Describe(record.entries[i]);
  }
  if (!view.matchesLast) {
    text +=
        "\n\n" + std::string(Tr("Another program changed the file since Varnock's last change."));
  }
  return text + "\n\n" +
         Tr("The whole file is then checked against the original's SHA-256: when "
            "other bytes differ from the original, nothing is written.");
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
  const std::string what = Describe(last);
  const std::string count = std::to_string(bytes);
  return bytes == 1 ? TrFormat(
                          // TRANSLATORS: %1 is the executable's path, %2 the operation ("the apply
                          // of …"), %3 a number of bytes
                          "Undo the last change of %1?\n\n%2 is taken back: %3 byte get the "
                          "values they had before it.",
                          {exePath, what, count})
                    : TrFormat(
                          "Undo the last change of %1?\n\n%2 is taken back: %3 bytes get "
                          "the values they had before it.",
                          {exePath, what, count});
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
