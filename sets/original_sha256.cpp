#include "sets/original_sha256.h"

#include "history/history_store.h"
#include "history/history_view.h"

namespace varnock {

std::string OriginalSha256(const std::string& exePath, const std::string& currentSha256) {
  const std::string folder = HistoryFolder();
  HistoryRecord record;
  if (folder.empty() || !FindHistory(folder, exePath, currentSha256, record)) {
    return {};
  }
  return ViewHistory(record, currentSha256).originalSha256;
}

}  // namespace varnock
