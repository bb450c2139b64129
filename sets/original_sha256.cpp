#include "sets/original_sha256.h"

#include "history/history_store.h"
#include "history/history_view.h"

namespace varnock {

std::string OriginalSha256(const std::string& exePath, const Bytes& image,
                           const std::string& currentSha256) {
  const std::string folder = HistoryFolder();
  if (folder.empty()) {
    return {};
  }
  const FoundHistory found = FindHistory(folder, exePath, currentSha256, image.size(),
                                         [&](std::uint64_t offset) { return image[offset]; });
  // A record that follows a damaged one does not know the original.
  if (found.kind != FoundHistory::Kind::Found || !found.record.follows.empty()) {
    return {};
  }
  return ViewHistory(found.record, currentSha256).originalSha256;
}

}  // namespace varnock
