#include "engine/number_to_bytes.h"

#include <string>

namespace varnock {

namespace {

// Bytes the value's 32-bit pattern needs: half its hexadecimal digits (no leading zeros,
// "0" for zero), an odd count rounded up.
std::int32_t BytesNeeded(std::uint32_t pattern) {
  std::int32_t digits = 1;
  while (pattern > 0xF) {
    pattern >>= 4;
    ++digits;
  }
  return (digits + 1) / 2;
}

}  // namespace

bool NumberToBytes(Bytes& bytes, std::int32_t value, std::int32_t n, UserInterface& ui) {
  auto pattern = static_cast<std::uint32_t>(value);
  const std::int32_t needed = BytesNeeded(pattern);
  if (needed > n) {
    ui.ShowMessage("ERROR: It's not possible keep argument with value " + std::to_string(value) +
                       " using only " + std::to_string(n) + " bytes",
                   MessageIcon::Critical);
    return false;
  }
  bytes.assign(static_cast<std::size_t>(n), 0);
  for (std::int32_t k = 0; k < needed; ++k) {
    bytes[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(pattern & 0xFF);
    pattern >>= 8;
  }
  return true;
}

}  // namespace varnock
