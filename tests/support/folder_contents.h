#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "support/bytes.h"
#include "support/files.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {

// The names in the folder.
using Names = std::set<std::string>;
inline Names NamesIn(const TempDir& dir) {
  Names names;
  for (const auto& entry : std::filesystem::directory_iterator(ToFsPath(dir.path()))) {
    names.insert(FromFsPath(entry.path().filename()));
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
