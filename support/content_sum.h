#pragma once

#include <cstdint>
#include <string>

#include "support/bytes.h"

namespace varnock {

// A 64-bit sum of the bytes (FNV-1a): tells whether a file still holds what was written, not
// a guard against a file made to match.
std::uint64_t ContentSum(const Bytes& content);

// The sum as 16 lower-case hexadecimal digits, and back: false for any other text.
std::string SumText(std::uint64_t sum);
bool ParseSumText(const std::string& text, std::uint64_t& sum);

}  // namespace varnock
