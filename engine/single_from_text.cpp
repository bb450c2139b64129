#include "engine/single_from_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace varnock {

namespace {

// Magnitudes from here on round to infinity in single precision (2^128 - 2^103).
constexpr double kSingleOverflow = 3.4028235677973366e38;

float SignedZero(bool negative) {
  return negative ? -0.0F : 0.0F;
}

}  // namespace

std::optional<float> SingleFromText(const NumberText& number, std::string& error) {
  const char* first = number.plain.data();
  const char* last = first + number.plain.size();
  float single = 0;
  if (std::from_chars(first, last, single).ec == std::errc{}) {
    return single;
  }
  // Out of the single range as the library sees it: decide from the double value whether it
  // rounds to zero, to the largest single, or overflows.
  double wide = 0;
  const bool wideOk = std::from_chars(first, last, wide).ec == std::errc{};
  const bool tiny = wideOk ? std::fabs(wide) < 1.0 : number.pointPlace <= 0;
  if (tiny) {
    return wideOk ? static_cast<float>(wide) : SignedZero(number.negative);
  }
  if (wideOk && std::fabs(wide) < kSingleOverflow) {
    const float largest = std::numeric_limits<float>::max();
    return number.negative ? -largest : largest;
  }
  error = "the value is beyond the range of single precision (about 3.4E+38)";
  return std::nullopt;
}

}  // namespace varnock
