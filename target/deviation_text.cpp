#include "target/deviation_text.h"

#include "support/hex_text.h"

namespace varnock {

std::string DeviationText(std::int64_t deviation) {
  const bool negative = deviation < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(deviation) : static_cast<std::uint64_t>(deviation);
  std::string text = negative ? "N" : "";
  text += HexDigits(magnitude);
  return text;
}

}  // namespace varnock
