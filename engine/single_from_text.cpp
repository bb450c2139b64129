#include "engine/single_from_text.h"

#include <charconv>
#include <system_error>

#include "support/translation.h"

namespace varnock {

std::optional<float> SingleFromText(const NumberText& number, std::string& error) {
  float single = 0;
  const char* first = number.plain.data();
  if (std::from_chars(first, first + number.plain.size(), single).ec == std::errc{}) {
    return single;
  }
  // Out of range: a magnitude below the smallest single rounds to zero, one above the largest
  // cannot be held.
  if (number.pointPlace <= 0) {
    return number.negative ? -0.0F : 0.0F;
  }
  error = Tr("the value is beyond the range of single precision (about 3.4E+38)");
  return std::nullopt;
}

}  // namespace varnock
