#pragma once

#include <cstdint>
#include <optional>

namespace varnock {

// The platform's ANSI code page, one character at a time.

// The Unicode code point of one ANSI byte; '?' for a byte that is no character on its own.
std::uint32_t AnsiByteToCodePoint(std::uint8_t byte);
// The ANSI byte of a Unicode code point; none when the code page has no byte for it.
std::optional<std::uint8_t> CodePointToAnsiByte(std::uint32_t codePoint);

}  // namespace varnock
