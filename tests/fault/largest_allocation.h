#pragma once

#include <cstddef>

namespace varnock::testing {

// Watches the sizes passed to operator new while it lives (this test program replaces the
// global operator new to count them), so a test can tell that a load sized nothing by a count
// it had not checked.
class LargestAllocation {
 public:
  LargestAllocation();
  ~LargestAllocation();
  LargestAllocation(const LargestAllocation&) = delete;
  LargestAllocation& operator=(const LargestAllocation&) = delete;

  std::size_t Largest() const;
};

}  // namespace varnock::testing
