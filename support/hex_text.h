#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace varnock {

// Upper-case hexadecimal digits of `value`, no prefix, zero-padded to at least `width` digits
// ("0" for zero when no width is asked): 0x1F00 gives "1F00", and "00001F00" with width 8.
std::string HexDigits(std::uint64_t value, std::size_t width = 0);

// The digits of `value` after "0x", as offsets are shown: "0x1F00".
std::string HexOffset(std::uint64_t value, std::size_t width = 0);

// Two upper-case digits a byte, in order, `separator` between them: "40 4B 4C" or "404B4C".
std::string HexBytes(std::span<const std::uint8_t> bytes, std::string_view separator);

}  // namespace varnock
