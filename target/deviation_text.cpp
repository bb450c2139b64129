#include "target/deviation_text.h"

namespace varnock {

std::string HexDigits(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value % 16]);
    value /= 16;
  } while (value != 0);
  return text;
}

std::string DeviationText(std::int64_t deviation) {
  if (deviation < 0) {
    return "N" + HexDigits(static_cast<std::uint64_t>(-deviation));
  }
  return HexDigits(static_cast<std::uint64_t>(deviation));
}

}  // namespace varnock
