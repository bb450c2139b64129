#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnock {

// What counts as a number in an argument: blanks (spaces and tabs) around it, an optional
// sign ('+' or '-'), decimal digits with an optional fraction after the decimal separator
// (digits on at least one side of it: "5", "5.", ".5", "5.25"), and an optional exponent
// ('e' or 'E', an optional sign, one or more digits). Nothing else: no thousands separators,
// no hexadecimal, no currency signs, no "inf" or "nan". The integer argument types read '.'
// as the decimal separator; the floating-point type reads the separator of the user's locale.
struct NumberText {
  bool negative = false;
  std::string digits;           // the significant digits, without leading zeros ("" for 0)
  std::int64_t pointPlace = 0;  // how many of `digits` stand before the decimal point; may be
                                // negative or exceed digits.size()
  std::string plain;            // the number without blanks, with '.' as decimal separator
};

std::optional<NumberText> ParseNumberText(std::string_view text, char decimalSeparator);

// The value rounded to the nearest integer, halves to the even neighbour (2.5 gives 2, 3.5
// gives 4), computed exactly on the decimal digits; std::nullopt outside the signed 32-bit
// range.
std::optional<std::int32_t> RoundToInt32(const NumberText& number);

}  // namespace varnock
