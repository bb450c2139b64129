#include <windows.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "support/files.h"
#include "support/interrupt_cleanup.h"

namespace varnock {

namespace {

// What the console's control handler needs. A handler reaches nothing but process-wide data,
// so this is the one place where the library keeps some: the paths to delete, as plain
// pointers the handler reads without locking, and the holds in force.
struct Registry {
  std::array<std::atomic<const wchar_t*>, 64> paths{};
  std::array<std::wstring, 64> storage;
  std::mutex mutex;
  std::condition_variable released;
  int held = 0;
  bool installed = false;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// Runs on a thread of its own when Ctrl-C or Ctrl-Break is pressed or the console is closed.
// It waits until no hold is in force; the files are then marked for deletion (an open one goes
// when its last handle closes, at the latest when the program ends), and the next handler, by
// default the one that ends the program, runs.
BOOL WINAPI RemoveOnControl(DWORD) {
  {
    std::unique_lock<std::mutex> lock(TheRegistry().mutex);
    TheRegistry().released.wait(lock, [] { return TheRegistry().held == 0; });
  }
  for (auto& slot : TheRegistry().paths) {
    const wchar_t* path = slot.load();
    if (path != nullptr) {
      DeleteFileW(path);
    }
  }
  return FALSE;
}

// The handler is put in place by the first object that needs it and stays: the system holds
// its own lock while a handler runs, so one that waits for a hold to end must not meet a
// removal made under that hold. With nothing registered and nothing held it passes at once.
// Called with the mutex held.
void Join(Registry& registry) {
  if (!registry.installed) {
    registry.installed = SetConsoleCtrlHandler(RemoveOnControl, TRUE) != 0;
  }
}

}  // namespace

RemovedOnInterrupt::RemovedOnInterrupt(std::string path) : path_(std::move(path)) {
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> lock(registry.mutex);
  for (std::size_t i = 0; i < registry.paths.size(); ++i) {
    if (registry.paths[i].load() == nullptr) {
      registry.storage[i] = ToFsPath(path_).wstring();
      registry.paths[i].store(registry.storage[i].c_str());
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
}

InterruptionsHeld::InterruptionsHeld() {
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> lock(registry.mutex);
  ++registry.held;
  Join(registry);
}

InterruptionsHeld::~InterruptionsHeld() {
  Registry& registry = TheRegistry();
  {
    const std::lock_guard<std::mutex> lock(registry.mutex);
    --registry.held;
  }
  registry.released.notify_all();
}

}  // namespace varnock
