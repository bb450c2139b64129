#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <mutex>

#include "support/interrupt_cleanup.h"

namespace varnock {

namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

// What the signal handler needs. A handler reaches nothing but process-wide data, so this is
// the one place where the library keeps some: the paths to delete, as plain pointers the
// handler reads without locking, and the actions the handler replaced.
struct Registry {
  std::array<std::atomic<const char*>, 64> paths{};
  std::mutex mutex;
  int users = 0;
  std::array<struct sigaction, kSignals.size()> previous{};
  std::array<bool, kSignals.size()> installed{};
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

extern "C" void RemoveAndEnd(int signal) {
  Registry& registry = TheRegistry();
  for (auto& slot : registry.paths) {
    const char* path = slot.load();
    if (path != nullptr) {
      ::unlink(path);
    }
  }
  // The signal is raised again under the action it had before, usually the end of the
  // program; it is delivered when this handler returns.
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (kSignals[i] == signal && registry.installed[i]) {
      ::sigaction(signal, &registry.previous[i], nullptr);
    }
  }
  ::raise(signal);
}

void Install(Registry& registry) {
  struct sigaction action {};
  action.sa_handler = RemoveAndEnd;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    struct sigaction previous {};
    ::sigaction(kSignals[i], nullptr, &previous);
    // A signal the program ignores (a program started with nohup) stays ignored.
    registry.installed[i] = previous.sa_handler != SIG_IGN &&
                            ::sigaction(kSignals[i], &action, &registry.previous[i]) == 0;
  }
}

void Uninstall(Registry& registry) {
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (registry.installed[i]) {
      ::sigaction(kSignals[i], &registry.previous[i], nullptr);
      registry.installed[i] = false;
    }
  }
}

}  // namespace

RemovedOnInterrupt::RemovedOnInterrupt(std::string path) : path_(std::move(path)) {
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> lock(registry.mutex);
  for (std::size_t i = 0; i < registry.paths.size(); ++i) {
    const char* expected = nullptr;
    if (registry.paths[i].compare_exchange_strong(expected, path_.c_str())) {
      slot_ = static_cast<int>(i);
      break;
    }
  }
  if (slot_ >= 0 && registry.users++ == 0) {
    Install(registry);
  }
}

RemovedOnInterrupt::~RemovedOnInterrupt() {
  Release();
}

void RemovedOnInterrupt::Release() {
  if (slot_ < 0) {
    return;
  }
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> lock(registry.mutex);
  registry.paths[static_cast<std::size_t>(slot_)].store(nullptr);
  slot_ = -1;
  if (--registry.users == 0) {
    Uninstall(registry);
  }
}

}  // namespace varnock
