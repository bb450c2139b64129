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
  const bool negative = deviation < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(deviation) : static_cast<std::uint64_t>(deviation);
  std::string text = negative ? "N" : "";
  text += HexDigits(magnitude);
  return text;
}

}  // namespace varnock
