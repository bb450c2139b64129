#include "tests/fault/largest_allocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> watching{false};
std::atomic<std::size_t> largest{0};

}  // namespace

// Only the watching test's own thread allocates while it watches: a plain maximum is enough.
void* operator new(std::size_t size) {
  if (watching.load(std::memory_order_relaxed) && size > largest.load()) {
    largest = size;
  }
  if (void* block = std::malloc(size == 0 ? 1 : size)) {
    return block;
  }
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}

namespace varnock::testing {

LargestAllocation::LargestAllocation() {
  largest = 0;
  watching = true;
}

LargestAllocation::~LargestAllocation() {
  watching = false;
}

std::size_t LargestAllocation::Largest() const {
  return largest.load();
}

}  // namespace varnock::testing
