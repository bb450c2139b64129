#include "support/content_sum.h"

#include <charconv>

namespace varnock {

std::uint64_t ContentSum(const Bytes& content) {
  std::uint64_t sum = 0xcbf29ce484222325ULL;
  for (const std::uint8_t byte : content) {
    sum = (sum ^ byte) * 0x100000001b3ULL;
  }
  return sum;
}

std::string SumText(std::uint64_t sum) {
  std::string text(16, '0');
  for (std::size_t i = 16; i-- > 0; sum >>= 4) {
    text[i] = "0123456789abcdef"[sum & 15];
  }
  return text;
}

bool ParseSumText(const std::string& text, std::uint64_t& sum) {
  const char* end = text.data() + text.size();
  return text.size() == 16 && std::from_chars(text.data(), end, sum, 16).ptr == end;
}

}  // namespace varnock
