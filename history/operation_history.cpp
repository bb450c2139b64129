#include "history/operation_history.h"

#include <future>

#include "history/history_store.h"
#include "support/paths.h"
#include "support/sha256.h"

namespace varnock {

bool OperationHistory::Record(const std::string& exePath, const Bytes& after,
                              std::vector<RecordedRange> ranges, const std::string& kind,
                              std::vector<PatchNote> patches, std::string beforeSha256) {
  failure_.clear();
  written_.clear();
  if (folder_.empty()) {
    failure_ = "there is no folder for it";
    return false;
  }
  // The sums of a large executable take the longest: the one of the content before, when it
  // is not known, runs beside the other.
  std::future<std::string> beforeSum;
  if (beforeSha256.empty()) {
    beforeSum = std::async(std::launch::async, [&] { return Sha256Before(after, ranges); });
  }
  const std::string afterSha = Sha256Text(after);
  if (beforeSum.valid()) {
    beforeSha256 = beforeSum.get();
  }
  HistoryRecord record;
  if (!FindHistory(folder_, exePath, beforeSha256, record)) {
    record.originalSize = after.size();
    record.originalSha256 = beforeSha256;
  }
  record.entries.push_back(
      {UtcNowText(), kind, std::move(patches), beforeSha256, afterSha, std::move(ranges)});
  if (!SaveHistory(folder_, exePath, std::move(record), failure_)) {
    return false;
  }
  written_ = afterSha;
  return true;
}

std::string OperationHistory::StampedSha256(const std::string& exePath,
                                            const std::string& stamp) const {
  return folder_.empty() ? std::string() : varnock::StampedSha256(folder_, exePath, stamp);
}

void OperationHistory::Completed(const std::string& exePath, const std::string& stamp) const {
  if (!written_.empty() && !stamp.empty()) {
    KeepStamp(folder_, exePath, stamp, written_);
  }
}

PatchNote NotePatch(const std::string& patchPath, const std::optional<std::string>& argument) {
  std::string name = GetFileName(patchPath);
  if (name.starts_with("temp_") && name.find('#') != std::string::npos) {
    name.erase(0, 5);
  }
  return {name, FileSha256Text(patchPath), argument};
}

}  // namespace varnock
