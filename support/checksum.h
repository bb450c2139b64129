#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace varnock {

// A 64-bit checksum of a run of bytes, fed in pieces of any size: the same bytes give the same
// value however they are cut. Four independent lanes over 8-byte words keep it near the speed
// of memory, so that a whole executable is summed in a few milliseconds; it finds torn and
// changed data, it is no protection against a forger.
class Checksum {
 public:
  void Add(const std::uint8_t* data, std::size_t size);
  std::uint64_t Value() const;

 private:
  void AddBlock(const std::uint8_t* block);

  std::array<std::uint64_t, 4> lanes_ = {0x9E3779B97F4A7C15ULL, 0xC2B2AE3D27D4EB4FULL,
                                         0x165667B19E3779F9ULL, 0x27D4EB2F165667C5ULL};
  std::array<std::uint8_t, 32> pending_{};
  std::size_t pendingSize_ = 0;
  std::uint64_t total_ = 0;
};

std::uint64_t ChecksumOf(const std::uint8_t* data, std::size_t size);

}  // namespace varnock
