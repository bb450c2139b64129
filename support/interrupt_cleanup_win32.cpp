#include <windows.h>

#include <condition_variable>
#include <mutex>

#include "support/interrupt_cleanup.h"
#include "support/interrupt_registry.h"

namespace varnock {

namespace {

// What the console's control handler needs beside the registry: the end of the last hold.
struct Handler {
  std::condition_variable released;
  bool installed = false;
};

Handler& TheHandler() {
  static Handler handler;
  return handler;
}

// Runs on a thread of its own when Ctrl-C or Ctrl-Break is pressed or the console is closed.
// It waits until no hold is in force; the files are then marked for deletion (an open one goes
// when its last handle closes, at the latest when the program ends), and the next handler, by
// default the one that ends the program, runs.
BOOL WINAPI RemoveOnControl(DWORD) {
  InterruptRegistry& registry = TheInterruptRegistry();
  {
    std::unique_lock<std::mutex> lock(registry.mutex);
    TheHandler().released.wait(lock, [&] { return registry.held.load() == 0; });
  }
  for (auto& slot : registry.paths) {
    const wchar_t* path = slot.load();
    if (path != nullptr) {
      DeleteFileW(path);
    }
  }
  return FALSE;
}

}  // namespace

// The handler is put in place by the first object that needs it and stays: the system holds
// its own lock while a handler runs, so one that waits for a hold to end must not meet a
// removal made under that hold. With nothing registered and nothing held it passes at once.
void StartHandling() {
  Handler& handler = TheHandler();
  if (!handler.installed) {
    handler.installed = SetConsoleCtrlHandler(RemoveOnControl, TRUE) != 0;
  }
}

void StopHandling() {}

// Nothing of the thread changes during a hold.
struct InterruptionsHeld::SavedMask {};

InterruptionsHeld::InterruptionsHeld() {
  BeginHold(TheInterruptRegistry());
}

InterruptionsHeld::~InterruptionsHeld() {
  EndHold(TheInterruptRegistry());
  TheHandler().released.notify_all();
}

}  // namespace varnock
