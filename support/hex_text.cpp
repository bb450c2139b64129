#include "support/hex_text.h"

namespace varnock {

namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";

}  // namespace

std::string HexDigits(std::uint64_t value, std::size_t width) {
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value % 16]);
    value /= 16;
  } while (value != 0);
  if (text.size() < width) {
    text.insert(0, width - text.size(), '0');
  }
  return text;
}

std::string HexOffset(std::uint64_t value, std::size_t width) {
  return "0x" + HexDigits(value, width);
}

std::string HexBytes(std::span<const std::uint8_t> bytes, std::string_view separator) {
  std::string text;
  text.reserve(bytes.size() * (2 + separator.size()));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) {
      text += separator;
    }
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0F];
  }
  return text;
}

}  // namespace varnock
