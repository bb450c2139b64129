#include <windows.h>

#include <array>
#include <atomic>
#include <mutex>

#include "support/files.h"
#include "support/interrupt_cleanup.h"

namespace varnock {

namespace {

// What the console's control handler needs. A handler reaches nothing but process-wide data,
// so this is the one place where the library keeps some: the paths to delete, as plain
// pointers the handler reads without locking.
struct Registry {
  std::array<std::atomic<const wchar_t*>, 64> paths{};
  std::array<std::wstring, 64> storage;
  std::mutex mutex;
  int users = 0;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// Runs on a thread of its own when Ctrl-C or Ctrl-Break is pressed or the console is closed.
// The files are marked for deletion (an open one goes when its last handle closes, at the
// latest when the program ends); the next handler, by default the one that ends the
// program, then runs.
BOOL WINAPI RemoveOnControl(DWORD) {
  for (auto& slot : TheRegistry().paths) {
    const wchar_t* path = slot.load();
    if (path != nullptr) {
      DeleteFileW(path);
    }
  }
  return FALSE;
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
  if (slot_ >= 0 && registry.users++ == 0) {
    SetConsoleCtrlHandler(RemoveOnControl, TRUE);
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
    SetConsoleCtrlHandler(RemoveOnControl, FALSE);
  }
}

}  // namespace varnock
