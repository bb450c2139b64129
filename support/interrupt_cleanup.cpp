#include "support/interrupt_cleanup.h"

#include <utility>

#include "support/files.h"
#include "support/interrupt_registry.h"

namespace varnock {

InterruptRegistry& TheInterruptRegistry() {
  static InterruptRegistry registry;
  return registry;
}

void JoinHandling(InterruptRegistry& registry) {
  if (registry.users++ == 0) {
    StartHandling();
  }
}

void LeaveHandling(InterruptRegistry& registry) {
  if (--registry.users == 0) {
    StopHandling();
  }
}

void BeginHold(InterruptRegistry& registry) {
  const std::lock_guard<std::mutex> lock(registry.mutex);
  registry.held.fetch_add(1);
  JoinHandling(registry);
}

int EndHold(InterruptRegistry& registry) {
  const std::lock_guard<std::mutex> lock(registry.mutex);
  const int pending = registry.held.fetch_sub(1) == 1 ? registry.pending.exchange(0) : 0;
  LeaveHandling(registry);
  return pending;
}

RemovedOnInterrupt::RemovedOnInterrupt(std::string path) : path_(std::move(path)) {
  InterruptRegistry& registry = TheInterruptRegistry();
  const std::lock_guard<std::mutex> lock(registry.mutex);
  for (std::size_t i = 0; i < registry.paths.size(); ++i) {
    if (registry.paths[i].load() == nullptr) {
      registry.storage[i] = ToFsPath(path_).native();
      registry.paths[i].store(registry.storage[i].c_str());
      slot_ = static_cast<int>(i);
      JoinHandling(registry);
      break;
    }
  }
}

RemovedOnInterrupt::~RemovedOnInterrupt() {
  Release();
}

void RemovedOnInterrupt::Release() {
  if (slot_ < 0) {
    return;
  }
  InterruptRegistry& registry = TheInterruptRegistry();
  const std::lock_guard<std::mutex> lock(registry.mutex);
  registry.paths[static_cast<std::size_t>(slot_)].store(nullptr);
  slot_ = -1;
  LeaveHandling(registry);
}

}  // namespace varnock
