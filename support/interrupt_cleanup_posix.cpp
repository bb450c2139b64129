#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "support/interrupt_cleanup.h"
#include "support/interrupt_registry.h"

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

// What the signal handler needs beside the registry: the actions it replaced, by signal
// number.
struct Handlers {
  std::array<struct sigaction, NSIG> previous{};
  std::array<bool, NSIG> installed{};
};

Handlers& TheHandlers() {
  static Handlers handlers;
  return handlers;
}

extern "C" void RemoveAndEnd(int signal) {
  InterruptRegistry& registry = TheInterruptRegistry();
  Handlers& handlers = TheHandlers();
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
  if (handlers.installed[signal]) {
    ::sigaction(signal, &handlers.previous[signal], nullptr);
  }
  ::raise(signal);
}

}  // namespace

void StartHandling() {
  Handlers& handlers = TheHandlers();
  struct sigaction action {};
  action.sa_handler = RemoveAndEnd;
  // A signal kept for later must not fail the system calls of the thread that received it.
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (const int signal : FatalSignals()) {
    struct sigaction previous {};
    ::sigaction(signal, nullptr, &previous);
    // A signal the program ignores (a program started with nohup) or handles itself stays so.
    handlers.installed[signal] = (previous.sa_flags & SA_SIGINFO) == 0 &&
                                 previous.sa_handler == SIG_DFL &&
                                 ::sigaction(signal, &action, &handlers.previous[signal]) == 0;
  }
}

void StopHandling() {
  Handlers& handlers = TheHandlers();
  for (const int signal : FatalSignals()) {
    if (handlers.installed[signal]) {
      ::sigaction(signal, &handlers.previous[signal], nullptr);
      handlers.installed[signal] = false;
    }
  }
}

struct InterruptionsHeld::SavedMask {
  sigset_t previous{};  // the calling thread's signal mask before the hold
};

// The signals are also blocked in the calling thread, so that its own system calls run on
// undisturbed; one sent to this thread alone arrives when its mask is restored.
InterruptionsHeld::InterruptionsHeld() : saved_(std::make_unique<SavedMask>()) {
  sigset_t held;
  sigemptyset(&held);
  for (const int signal : FatalSignals()) {
    sigaddset(&held, signal);
  }
  ::pthread_sigmask(SIG_BLOCK, &held, &saved_->previous);
  BeginHold(TheInterruptRegistry());
}

InterruptionsHeld::~InterruptionsHeld() {
  const int pending = EndHold(TheInterruptRegistry());
  ::pthread_sigmask(SIG_SETMASK, &saved_->previous, nullptr);
  if (pending != 0) {
    ::raise(pending);
  }
}

}  // namespace varnock
