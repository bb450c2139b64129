#include "app/history_texts.h"

#include "history/shown_entry.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/translation.h"

namespace varnock {

namespace {

// The operation's arguments, as the row shows them: "argument 7", or "arguments A=7, B=9".
std::string ArgumentsText(const HistoryRow& row) {
  if (row.arguments.empty()) {
    return {};
  }
  const bool several = row.patches.find(", ") != std::string::npos;
  const std::string values = NamedValuesInWords(row.arguments);
  // TRANSLATORS: the arguments an operation gave its patches, such as "A.ptc: 7, B.ptc: 9"
  return "  " + (several ? TrFormat("arguments %1", {values}) : TrFormat("argument %1", {values}));
}

}  // namespace

std::string NoProgramText(HistoryAction action) {
  switch (action) {
    case HistoryAction::Show:
      return Tr("Choose the program to patch in the main window to see its history.");
    case HistoryAction::Undo:
      return Tr("Choose the program to patch in the main window to undo its last change.");
    case HistoryAction::Restore:
      break;
  }
  return Tr("Choose the program to patch in the main window to restore its original.");
}

std::string NoHistoryText(const std::string& exePath, const HistorySummary& summary,
                          HistoryAction action) {
  if (summary.kept) {
    return {};
  }
  if (!FileExists(exePath)) {
    // TRANSLATORS: %1 is the executable's path, %2 why it cannot be read
    return TrFormat("%1 cannot be read: %2.", {exePath, NotAFileText(exePath)});
  }
  switch (action) {
    case HistoryAction::Show:
      // TRANSLATORS: %1 is the executable's path
      return TrFormat("No history is kept for %1.", {exePath});
    case HistoryAction::Undo:
      // TRANSLATORS: %1 is the executable's path
      return TrFormat("No history is kept for %1, so there is no change to undo.", {exePath});
    case HistoryAction::Restore:
      break;
  }
  // TRANSLATORS: %1 is the executable's path
  return TrFormat("No history is kept for %1, so its original is not known.", {exePath});
}

HistoryListing ListHistory(const std::string& exePath, const HistorySummary& summary) {
  // TRANSLATORS: the History window's caption; %1 is the executable's path
  HistoryListing listing{TrFormat("History of %1", {exePath}), {}, {}};
  for (const HistoryRow& row : summary.rows) {
    listing.rows.push_back(
        ShownTime(row.time) + "  " + OperationText(row.what) + "  " + row.patches +
        ArgumentsText(row) +
        (row.state.empty() ? "" : "  (" + std::string(Tr(row.state.c_str())) + ")"));
  }
  listing.state = summary.matchesLast
                      ? Tr("The file is as Varnock's last change left it.")
                      : Tr("Another program changed the file since Varnock's last change.");
  return listing;
}

std::string NothingToUndoText(const std::string& exePath, const HistorySummary& summary) {
  if (!summary.kept) {
    return NoHistoryText(exePath, summary, HistoryAction::Undo);
  }
  if (!summary.matchesLast) {
    return TrFormat(
        // TRANSLATORS: %1 is the executable's path
        "Another program changed %1 since Varnock's last change, so that change cannot be undone.",
        {exePath});
  }
  // TRANSLATORS: %1 is the executable's path
  return TrFormat("No change of %1 is left to undo.", {exePath});
}

std::string RefusedRestoreText(const std::string& exePath) {
  return TrFormat(
      // TRANSLATORS: %1 is the executable's path
      "%1 would still differ from its original: another program changed bytes that Varnock did "
      "not change, and of those Varnock knows only the original's checksum, not which they are. "
      "Nothing was written.",
      {exePath});
}

std::string InWindowWords(std::string question) {
  static constexpr std::string_view kOption = ", --arg ";
  // TRANSLATORS: the word before a patch's argument in the history's questions ("argument 7")
  const std::string words = ", " + std::string(Tr("argument")) + " ";
  for (std::size_t at = question.find(kOption); at != std::string::npos;
       at = question.find(kOption, at)) {
    question.replace(at, kOption.size(), words);
  }
  return NamedValuesInWords(std::move(question));
}

// "A.ptc=7" as the option takes it becomes "A.ptc: 7"; only the '=' just after a patch's name,
// so that a value holding '=' keeps it.
std::string NamedValuesInWords(std::string text) {
  static constexpr std::string_view kExtension = ".ptc=";
  for (std::size_t at = 0; at + kExtension.size() <= text.size(); ++at) {
    if (EqualsIgnoreCase(text.substr(at, kExtension.size()), kExtension)) {
      text.replace(at + kExtension.size() - 1, 1, ": ");
    }
  }
  return text;
}

}  // namespace varnock
