#include "history/operation_history.h"

#include <future>

#include "history/history_store.h"
#include "support/paths.h"
#include "support/sha256.h"

namespace varnock {

bool OperationHistory::Record(const std::string& exePath, const Bytes& before, const Bytes& after,
                              const std::string& kind, std::vector<PatchNote> patches) {
  failure_.clear();
  if (folder_.empty()) {
    failure_ = "there is no folder for it";
    return false;
  }
  // The two sums of a large executable take the longest: one of them runs beside the other.
  auto beforeSum = std::async(std::launch::async, [&] { return Sha256Text(before); });
  const std::string afterSha = Sha256Text(after);
  const std::string beforeSha = beforeSum.get();
  HistoryRecord record;
  if (!FindHistory(folder_, exePath, beforeSha, record)) {
    record.originalSize = before.size();
    record.originalSha256 = beforeSha;
  }
  record.entries.push_back(
      {UtcNowText(), kind, std::move(patches), beforeSha, afterSha, ChangedRanges(before, after)});
  return SaveHistory(folder_, exePath, std::move(record), failure_);
}

PatchNote NotePatch(const std::string& patchPath, const std::optional<std::string>& argument) {
  std::string name = GetFileName(patchPath);
  if (name.starts_with("temp_") && name.find('#') != std::string::npos) {
    name.erase(0, 5);
  }
  return {name, FileSha256Text(patchPath), argument};
}

}  // namespace varnock
