#include "app/status_worker.h"

#include "engine/silent_ui.h"
#include "support/translation.h"

namespace varnock {

namespace {

// Entries handed over at once: few wake-ups at any size, and the first rows soon.
constexpr std::size_t kChunk = 512;

}  // namespace

void StatusWorker::Start(const std::string& folder, const std::string& exePath,
                         std::function<FolderStatus()> known) {
  Stop();
  thread_ = std::jthread([this, folder, exePath, known = std::move(known)](
                             const std::stop_token& stop) { Run(stop, folder, exePath, known); });
}

void StatusWorker::Stop() {
  if (thread_.joinable()) {
    thread_.request_stop();
    thread_.join();
  }
  const std::lock_guard lock(mutex_);
  inbox_ = {};
  wakeUpPending_ = false;
}

StatusWorker::Results StatusWorker::Take() {
  const std::lock_guard lock(mutex_);
  Results taken = std::move(inbox_);
  inbox_ = {};
  wakeUpPending_ = false;
  return taken;
}

void StatusWorker::Keep(const std::function<void(Results&)>& add) {
  bool wake = false;
  {
    const std::lock_guard lock(mutex_);
    add(inbox_);
    wake = !wakeUpPending_;
    wakeUpPending_ = true;
  }
  if (wake) {
    wakeUp_();
  }
}

// The patches that do not load, and the executable that cannot be read, are not told here: the
// rows say it, and the failure goes to the progress line.
void StatusWorker::Run(const std::stop_token& stop, const std::string& folder,
                       const std::string& exePath, const std::function<FolderStatus()>& known) {
  StatusDelivery delivery;
  delivery.chunk = kChunk;
  delivery.stop = stop;
  delivery.judged = [this](std::vector<FolderStatusEntry>&& chunk) {
    Keep([&chunk](Results& inbox) {
      if (inbox.judged.empty()) {
        inbox.judged = std::move(chunk);
      } else {
        std::move(chunk.begin(), chunk.end(), std::back_inserter(inbox.judged));
      }
    });
  };
  FolderStatus status = known ? known() : FolderStatus();
  SilentUi silent;
  const bool computed = RefreshFolderStatus(status, folder, exePath, "", silent, &delivery);
  if (stop.stop_requested()) {
    return;
  }
  Keep([&](Results& inbox) {
    if (computed) {
      inbox.complete = std::move(status);
    } else {
      inbox.failure =
          silent.FirstMessage().empty() ? Tr("the program cannot be read") : silent.FirstMessage();
    }
  });
}

}  // namespace varnock
