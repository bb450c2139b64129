#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/bytes.h"

namespace varnock {

// The pieces of a patch source line: texts with escapes, numbers, flag and type names.

// A UTF-8 text as a source value: a backslash, a control character, a character the code page
// holds only as a control, and a blank at either end are written as escapes (\\ and \xNN), so
// that the value survives editors and reads back byte for byte.
std::string EscapeSourceText(std::string_view text);
// The text of a source value; false with what was expected in `error` for a bad escape or a
// character the ANSI code page cannot hold.
bool UnescapeSourceText(std::string_view value, std::string& text, std::string& error);

// 0x1F, -0x10: a signed 32-bit number in hexadecimal.
std::string HexNumber(std::int32_t value);
// A number in decimal or, after 0x, hexadecimal, with an optional '-', from -2^31 to 2^31 - 1;
// with `bitPattern`, also up to 0xFFFFFFFF, taken as the bits of an int32.
std::optional<std::int32_t> ParseSourceNumber(std::string_view word, bool bitPattern = false);

// "Dynamic SameExeVersionOnly 0x40", "none" for no bit at all.
std::string FlagNames(std::int32_t flags);
std::optional<std::int32_t> ParseFlagNames(std::string_view value, std::string& error);

// "NumLong"; a code outside 1 to 6 as its number, 0 as "none".
std::string ArgumentTypeName(std::int32_t type);
std::optional<std::int32_t> ParseArgumentTypeName(std::string_view value, std::string& error);

// "40 4B 4C 00"; and back, false with what was expected for a word that is not a byte.
std::string HexBytes(const Bytes& bytes);
bool ParseHexBytes(const std::vector<std::string>& words, Bytes& bytes, std::string& error);

// The words of a value, split at blanks.
std::vector<std::string> SourceWords(std::string_view value);

}  // namespace varnock
