#pragma once

#include <cstdint>

#include "support/bytes.h"
#include "ui/user_interface.h"

namespace varnock {

// `value` in n little-endian bytes; false after the width message when it does not fit.
bool NumberToBytes(Bytes& bytes, std::int32_t value, std::int32_t n, UserInterface& ui);

}  // namespace varnock
