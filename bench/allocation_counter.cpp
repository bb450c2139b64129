#include "bench/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

// The global operator new and delete of this program, counting the bytes held. Each block
// carries its size in a header in front of it, so that the unsized delete can count it off.
// The counters are the one piece of state shared by the whole program, as the operators are.

namespace varnock::bench {

namespace {

constexpr std::size_t kHeader = alignof(std::max_align_t);

struct Counters {
  std::atomic<std::size_t> inUse{0};
  std::atomic<std::size_t> peak{0};
};

Counters& TheCounters() {
  static Counters counters;
  return counters;
}

void* Allocate(std::size_t size) noexcept {
  void* block = std::malloc(size + kHeader);
  if (block == nullptr) {
    return nullptr;
  }
  *static_cast<std::size_t*>(block) = size;
  Counters& counters = TheCounters();
  const std::size_t now = counters.inUse.fetch_add(size, std::memory_order_relaxed) + size;
  std::size_t peak = counters.peak.load(std::memory_order_relaxed);
  while (now > peak && !counters.peak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
  }
  return static_cast<char*>(block) + kHeader;
}

void Release(void* pointer) noexcept {
  if (pointer == nullptr) {
    return;
  }
  void* block = static_cast<char*>(pointer) - kHeader;
  TheCounters().inUse.fetch_sub(*static_cast<std::size_t*>(block), std::memory_order_relaxed);
  std::free(block);
}

void* AllocateOrThrow(std::size_t size) {
  void* pointer = Allocate(size);
  if (pointer == nullptr) {
    throw std::bad_alloc();
  }
  return pointer;
}

}  // namespace

std::size_t BytesInUse() {
  return TheCounters().inUse.load(std::memory_order_relaxed);
}

std::size_t PeakBytesInUse() {
  return TheCounters().peak.load(std::memory_order_relaxed);
}

void ResetPeakBytes() {
  TheCounters().peak.store(BytesInUse(), std::memory_order_relaxed);
}

}  // namespace varnock::bench

void* operator new(std::size_t size) {
  return varnock::bench::AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
  return varnock::bench::AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return varnock::bench::Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return varnock::bench::Allocate(size);
}
void operator delete(void* pointer) noexcept {
  varnock::bench::Release(pointer);
}
void operator delete[](void* pointer) noexcept {
  varnock::bench::Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
  varnock::bench::Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
  varnock::bench::Release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
  varnock::bench::Release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
  varnock::bench::Release(pointer);
}
