#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnock {

// Texts are UTF-8 inside the program. Patch strings and text arguments are bytes of the
// system's ANSI code page: on Windows the system code page, elsewhere Windows-1252.

// The UTF-8 text of one ANSI byte.
std::string AnsiByteToUtf8(std::uint8_t byte);
// The ANSI bytes of a UTF-8 text, one per character; a character the code page cannot
// represent becomes '?'.
std::string Utf8ToAnsi(std::string_view text);
// The ANSI text of a UTF-8 text, as Utf8ToAnsi, back to UTF-8 one character at a time.
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace varnock
