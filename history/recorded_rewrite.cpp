#include "history/recorded_rewrite.h"

#include <chrono>
#include <future>
#include <system_error>
#include <utility>

#include "support/translation.h"

namespace varnock {

bool RecordedRewrite(LockedFile& file, const std::string& exePath, const Bytes& after,
                     OperationHistory& history, RecordedChange change, std::string& error) {
  if (change.beforeSha256.empty()) {
    change.beforeSha256 = history.StampedSha256(exePath, file.Stamp());
  }
  const bool required = change.need == RecordedChange::Need::Required;
  const auto record = [&] { return history.Record(exePath, after, std::move(change)); };
  std::future<bool> recorded;
  try {
    recorded = std::async(std::launch::async, record);
  } catch (const std::system_error&) {  // no thread to be had: recorded before the replace
    recorded = std::async(std::launch::deferred, record);
  }
  const auto durable = [&](std::string& reason) {
    if (recorded.get() || !required) {
      return true;
    }
    // TRANSLATORS: %1 is the executable's path, %2 the reason
    reason = TrFormat("the history of %1 cannot be written: %2", {exePath, history.Failure()});
    return false;
  };
  const bool written = file.Rewrite(after, durable, error);
  // The rewrite stopped before the replace: a record begun is waited for, one not begun is not
  // made.
  if (recorded.valid() &&
      recorded.wait_for(std::chrono::seconds(0)) != std::future_status::deferred) {
    recorded.wait();
  }
  if (written) {
    history.Completed(exePath, file.Stamp());
  }
  return written;
}

}  // namespace varnock
