#pragma once

#include <cstdint>
#include <string_view>

namespace varnock {

inline constexpr std::int64_t kNotFound = -1;

// The offset of the first occurrence of `pattern` in `content` at or after `from`, compared
// byte for byte; kNotFound when it does not occur.
std::int64_t FindFirst(std::string_view content, std::string_view pattern, std::int64_t from = 0);

// The content of a file held as bytes, seen as text for searching.
template <typename ByteContainer>
std::string_view AsText(const ByteContainer& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace varnock
