#include "engine/number_to_bytes.h"

#include <string>

#include "support/translation.h"

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
    // TRANSLATORS: %1 is the argument's value, %2 the number of bytes the patch holds for it.
    ui.ShowMessage(TrFormat("ERROR: It's not possible keep argument with value %1 using only %2 "
                            "bytes",
                            {std::to_string(value), std::to_string(n)}),
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
