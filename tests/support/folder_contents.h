#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/bytes.h"
#include "support/files.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {

// The names in the folder other than the ones the test made.
inline std::vector<std::string> Leftovers(const TempDir& dir,
                                          const std::vector<std::string>& expected) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(ToFsPath(dir.path()))) {
    const std::string name = FromFsPath(entry.path().filename());
    if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
      names.push_back(name);
    }
  }
  return names;
}

// Content that differs at every byte for different seeds.
inline Bytes Pattern(std::size_t size, std::uint8_t seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 31 + seed);
  }
  return bytes;
}

}  // namespace varnock::testing
