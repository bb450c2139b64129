#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/folder_status.h"

namespace varnock {

// Computes a folder's status on a thread of its own, and keeps what it has found for the
// window's thread to take. Each time something new is kept while nothing was waiting, it calls
// `wakeUp` (from its thread): the window then takes all that came meanwhile at once.
class StatusWorker {
 public:
  explicit StatusWorker(std::function<void()> wakeUp) : wakeUp_(std::move(wakeUp)) {}
  ~StatusWorker() { Stop(); }
  StatusWorker(const StatusWorker&) = delete;
  StatusWorker& operator=(const StatusWorker&) = delete;

  // Starts computing the status of `folder` on `exePath`, from `known` (called on the
  // worker's thread): the status computed before, of which only what changed on disk since is
  // computed again. Stops the computation running, if any, first.
  void Start(const std::string& folder, const std::string& exePath,
             std::function<FolderStatus()> known);
  // Stops the computation, waits for its thread, and drops what it had not handed over.
  void Stop();

  struct Results {
    std::vector<FolderStatusEntry> judged;  // entries judged since the last take
    std::optional<FolderStatus> complete;   // the whole status, once it is known
    std::string failure;  // why the status could not be computed; empty when it could
  };
  // What came since the last take.
  Results Take();

 private:
  void Run(const std::stop_token& stop, const std::string& folder, const std::string& exePath,
           const std::function<FolderStatus()>& known);
  void Keep(const std::function<void(Results&)>& add);

  std::function<void()> wakeUp_;
  std::mutex mutex_;
  Results inbox_;               // guarded by mutex_
  bool wakeUpPending_ = false;  // guarded by mutex_
  std::jthread thread_;
};

}  // namespace varnock
