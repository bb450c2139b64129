#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

#include "support/interrupt_cleanup.h"

namespace varnock {

namespace {

// Every signal that ends the program by default and that it may catch: the interruptions
// (SIGINT, SIGTERM, SIGHUP, SIGQUIT), the timers, the user's signals, a closed pipe, the CPU
// limit, the real-time signals. Left out are those that report a fault of the program itself
// (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT), which would come back at once if
// held, and SIGXFSZ, ignored so that a write beyond the file-size limit fails instead.
std::vector<int> FatalSignals() {
  std::vector<int> signals = {SIGINT,  SIGTERM, SIGHUP,    SIGQUIT, SIGUSR1, SIGUSR2,
                              SIGPIPE, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGIO};
#ifdef __linux__
  signals.insert(signals.end(), {SIGSTKFLT, SIGPWR});
#endif
  for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) {
    signals.push_back(signal);
  }
  return signals;
}

// What the signal handler needs. A handler reaches nothing but process-wide data, so this is
// the one place where the library keeps some: the paths to delete, as plain pointers the
// handler reads without locking, the holds in force with the signal that came during them, and
// the actions the handler replaced.
struct Registry {
  std::array<std::atomic<const char*>, 64> paths{};
  std::atomic<int> held{0};
  std::atomic<int> pending{0};
  std::mutex mutex;
  int users = 0;  // objects of either kind that need the handler
  // By signal number: the actions the handler replaced.
  std::array<struct sigaction, NSIG> previous{};
  std::array<bool, NSIG> installed{};
};

// The handler uses these without locking, which is safe only where they never lock.
static_assert(std::atomic<int>::is_always_lock_free &&
              std::atomic<const char*>::is_always_lock_free);

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

extern "C" void RemoveAndEnd(int signal) {
  Registry& registry = TheRegistry();
  // The signal is noted before the holds are counted: either the end of the last hold finds
  // it, or this handler finds no hold and takes it back itself. It is never lost.
  registry.pending.store(signal);
  if (registry.held.load() > 0 || registry.pending.exchange(0) == 0) {
    return;
  }
  for (auto& slot : registry.paths) {
    const char* path = slot.load();
    if (path != nullptr) {
      ::unlink(path);
    }
  }
  // The signal is raised again under the action it had before, usually the end of the
  // program; it is delivered when this handler returns.
  if (registry.installed[signal]) {
    ::sigaction(signal, &registry.previous[signal], nullptr);
  }
  ::raise(signal);
}

void Install(Registry& registry) {
  struct sigaction action {};
  action.sa_handler = RemoveAndEnd;
  // A signal kept for later must not fail the system calls of the thread that received it.
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (const int signal : FatalSignals()) {
    struct sigaction previous {};
    ::sigaction(signal, nullptr, &previous);
    // A signal the program ignores (a program started with nohup) or handles itself stays so.
    registry.installed[signal] = (previous.sa_flags & SA_SIGINFO) == 0 &&
                                 previous.sa_handler == SIG_DFL &&
                                 ::sigaction(signal, &action, &registry.previous[signal]) == 0;
  }
}

void Uninstall(Registry& registry) {
  for (const int signal : FatalSignals()) {
    if (registry.installed[signal]) {
      ::sigaction(signal, &registry.previous[signal], nullptr);
      registry.installed[signal] = false;
    }
  }
}

// The handler is in place while any object needs it; called with the mutex held.
void Join(Registry& registry) {
  if (registry.users++ == 0) {
    Install(registry);
  }
}

void Leave(Registry& registry) {
  if (--registry.users == 0) {
    Uninstall(registry);
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
  if (slot_ >= 0) {
    Join(registry);
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
  Leave(registry);
}

// The signals are also blocked in the calling thread, so that its own system calls run on
// undisturbed; one sent to this thread alone arrives when its mask is restored.
InterruptionsHeld::InterruptionsHeld() {
  sigset_t held;
  sigemptyset(&held);
  for (const int signal : FatalSignals()) {
    sigaddset(&held, signal);
  }
  ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> lock(registry.mutex);
  registry.held.fetch_add(1);
  Join(registry);
}

InterruptionsHeld::~InterruptionsHeld() {
  Registry& registry = TheRegistry();
  int pending = 0;
  {
    const std::lock_guard<std::mutex> lock(registry.mutex);
    if (registry.held.fetch_sub(1) == 1) {
      pending = registry.pending.exchange(0);
    }
    Leave(registry);
  }
  ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  if (pending != 0) {
    ::raise(pending);
  }
}

}  // namespace varnock
