#include "app/history_texts.h"

namespace varnock {

std::string HistoryLines(const std::string& exePath, const HistorySummary& summary) {
  if (!summary.kept) {
    return "No history is kept for " + exePath;
  }
  std::string text = "History of " + exePath;
  for (const HistoryRow& row : summary.rows) {
    text += "\r\n" + row.time + "  " + row.what + "  " + row.patches;
    for (const std::string* more : {&row.arguments, &row.state}) {
      text += more->empty() ? "" : "  " + *more;
    }
  }
  return text + "\r\n" + MatchesLastText(summary.matchesLast);
}

std::string NothingToUndoText(const std::string& exePath) {
  return "No change of " + exePath +
         " can be undone: none is recorded, or another program changed the file since.";
}

}  // namespace varnock
