#include "engine/number_text.h"

#include <algorithm>
#include <limits>

namespace varnock {

namespace {

// Exponents are clamped far beyond any value an argument can hold.
constexpr std::int64_t kExponentLimit = 100'000;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// Reads the digits at `pos`, appending them to `digits`; returns how many were read.
std::size_t ReadDigits(std::string_view text, std::size_t& pos, std::string& digits) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) {
    digits += text[pos++];
  }
  return pos - start;
}

// The optional exponent at `pos`: false when it is malformed.
bool ReadExponent(std::string_view text, std::size_t& pos, std::int64_t& exponent) {
  exponent = 0;
  if (pos == text.size() || (text[pos] != 'e' && text[pos] != 'E')) {
    return true;
  }
  ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos++] == '-';
  }
  std::string digits;
  if (ReadDigits(text, pos, digits) == 0) {
    return false;
  }
  for (const char digit : digits) {
    exponent = std::min(exponent * 10 + (digit - '0'), kExponentLimit);
  }
  exponent = negative ? -exponent : exponent;
  return true;
}

std::string PlainText(std::string_view number, char decimalSeparator) {
  std::string plain(number.substr(number.front() == '+' ? 1 : 0));
  std::replace(plain.begin(), plain.end(), decimalSeparator, '.');
  return plain;
}

}  // namespace

std::optional<NumberText> ParseNumberText(std::string_view text, char decimalSeparator) {
  const std::string_view number = TrimBlanks(text);
  NumberText result;
  std::size_t pos = 0;
  if (pos < number.size() && (number[pos] == '+' || number[pos] == '-')) {
    result.negative = number[pos++] == '-';
  }
  std::string mantissa;
  const std::size_t wholeDigits = ReadDigits(number, pos, mantissa);
  std::size_t fractionDigits = 0;
  if (pos < number.size() && number[pos] == decimalSeparator) {
    ++pos;
    fractionDigits = ReadDigits(number, pos, mantissa);
  }
  std::int64_t exponent = 0;
  if (wholeDigits + fractionDigits == 0 || !ReadExponent(number, pos, exponent) ||
      pos != number.size()) {
    return std::nullopt;
  }
  const std::size_t leadingZeros = std::min(mantissa.find_first_not_of('0'), mantissa.size());
  result.digits = mantissa.substr(leadingZeros);
  result.pointPlace =
      static_cast<std::int64_t>(wholeDigits) - static_cast<std::int64_t>(leadingZeros) + exponent;
  result.plain = PlainText(number, decimalSeparator);
  return result;
}

std::optional<std::int32_t> RoundToInt32(const NumberText& number) {
  if (number.digits.empty() || number.pointPlace < 0) {
    return 0;  // zero, or a magnitude below 0.1
  }
  if (number.pointPlace > 10) {
    return std::nullopt;  // at least 10^10
  }
  const auto place = static_cast<std::size_t>(number.pointPlace);
  std::int64_t whole = 0;
  for (std::size_t i = 0; i < place; ++i) {
    whole = whole * 10 + (i < number.digits.size() ? number.digits[i] - '0' : 0);
  }
  const char first = place < number.digits.size() ? number.digits[place] : '0';
  const bool restNonZero = place + 1 < number.digits.size() &&
                           number.digits.find_first_not_of('0', place + 1) != std::string::npos;
  if (first > '5' || (first == '5' && (restNonZero || whole % 2 == 1))) {
    ++whole;
  }
  const std::int64_t value = number.negative ? -whole : whole;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace varnock
