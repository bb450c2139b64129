#pragma once

#include <cstdint>
#include <string>

namespace varnock {

// "0" for no deviation, the hexadecimal digits for a positive one, "N" and the digits of the
// magnitude for a negative one: 48 gives "30", -790528 gives "NC1000".
std::string DeviationText(std::int64_t deviation);

}  // namespace varnock
