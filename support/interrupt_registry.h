#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <mutex>

namespace varnock {

// What the handler of interruptions needs (see interrupt_cleanup.h). A handler reaches nothing
// but process-wide data, so this is the one place where the library keeps some: the paths to
// delete, in the system's own characters and as plain pointers the handler reads without
// locking, and the holds in force.
struct InterruptRegistry {
  using Char = std::filesystem::path::value_type;
  std::array<std::atomic<const Char*>, 64> paths{};
  std::array<std::filesystem::path::string_type, 64> storage;
  std::atomic<int> held{0};
  // The signal that came during a hold, raised when the last ends (POSIX).
  std::atomic<int> pending{0};
  std::mutex mutex;
  int users = 0;  // objects of either kind that need the handler
};

// The handler uses these without locking, which is safe only where they never lock.
static_assert(std::atomic<int>::is_always_lock_free &&
              std::atomic<const InterruptRegistry::Char*>::is_always_lock_free);

InterruptRegistry& TheInterruptRegistry();

// The handler is in place while any object needs it: the first that comes puts it in place
// (StartHandling), the last that goes may take it away (StopHandling). Called with the mutex
// held.
void JoinHandling(InterruptRegistry& registry);
void LeaveHandling(InterruptRegistry& registry);

// Counts a hold in, or out; the end of the last gives the signal that came meanwhile (0 when
// none did).
void BeginHold(InterruptRegistry& registry);
int EndHold(InterruptRegistry& registry);

// The platform's half.
void StartHandling();
void StopHandling();

}  // namespace varnock
