#pragma once

#include <cstdint>
#include <vector>

namespace varnock {

// A whole file, or a pattern searched in one: one element per byte, in file order.
using Bytes = std::vector<std::uint8_t>;

}  // namespace varnock
