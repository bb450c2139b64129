#pragma once

#include <cstdint>
#include <string_view>

namespace varnock {

// How well a patch's version signature fits the chosen executable's: 2 when both are equal,
// 1 when only their first 6 characters are (a shorter text compares whole), 0 otherwise.
// Letter case is ignored.
std::int32_t VersionRank(std::string_view current, std::string_view patchVersion);

}  // namespace varnock
