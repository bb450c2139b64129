#include "history/recorded_rewrite.h"

#include <future>
#include <utility>

namespace varnock {

bool RecordedRewrite(LockedFile& file, const std::string& exePath, const Bytes& after,
                     OperationHistory& history, RecordedChange change, std::string& error) {
  if (change.beforeSha256.empty()) {
    change.beforeSha256 = history.StampedSha256(exePath, file.Stamp());
  }
  const bool required = change.need == RecordedChange::Need::Required;
  std::future<bool> recorded = std::async(
      std::launch::async, [&] { return history.Record(exePath, after, std::move(change)); });
  const auto durable = [&](std::string& reason) {
    if (recorded.get() || !required) {
      return true;
    }
    reason = "the history of " + exePath + " cannot be written: " + history.Failure();
    return false;
  };
  const bool written = file.Rewrite(after, durable, error);
  if (recorded.valid()) {  // the rewrite stopped before the replace
    recorded.wait();
  }
  if (written) {
    history.Completed(exePath, file.Stamp());
  }
  return written;
}

}  // namespace varnock
