#include "support/checksum.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace varnock {

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::size_t kBlock = 32;

std::uint64_t Mix(std::uint64_t value) {
  value ^= value >> 33;
  value *= 0xFF51AFD7ED558CCDULL;
  value ^= value >> 33;
  value *= 0xC4CEB9FE1A85EC53ULL;
  return value ^ (value >> 33);
}

// In the machine's own byte order: a checksum is compared only on the machine that made it.
std::uint64_t Word(const std::uint8_t* at) {
  std::uint64_t word = 0;
  std::memcpy(&word, at, sizeof word);
  return word;
}

}  // namespace

void Checksum::AddBlock(const std::uint8_t* block) {
  for (std::size_t lane = 0; lane < lanes_.size(); ++lane) {
    lanes_[lane] = std::rotl(lanes_[lane] + Word(block + 8 * lane) * kPrime2, 31) * kPrime1;
  }
}

void Checksum::Add(const std::uint8_t* data, std::size_t size) {
  total_ += size;
  if (pendingSize_ > 0) {
    const std::size_t taken = std::min(size, kBlock - pendingSize_);
    std::memcpy(pending_.data() + pendingSize_, data, taken);
    pendingSize_ += taken;
    data += taken;
    size -= taken;
    if (pendingSize_ < kBlock) {
      return;
    }
    AddBlock(pending_.data());
    pendingSize_ = 0;
  }
  for (; size >= kBlock; data += kBlock, size -= kBlock) {
    AddBlock(data);
  }
  std::memcpy(pending_.data(), data, size);
  pendingSize_ = size;
}

std::uint64_t Checksum::Value() const {
  std::array<std::uint8_t, kBlock> last{};
  std::memcpy(last.data(), pending_.data(), pendingSize_);
  Checksum copy = *this;
  copy.AddBlock(last.data());
  std::uint64_t value = Mix(total_);
  for (const std::uint64_t lane : copy.lanes_) {
    value = Mix(value ^ lane);
  }
  return value;
}

std::uint64_t ChecksumOf(const std::uint8_t* data, std::size_t size) {
  Checksum sum;
  sum.Add(data, size);
  return sum.Value();
}

}  // namespace varnock
