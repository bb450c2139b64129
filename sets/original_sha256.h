#pragma once

#include <string>

namespace varnock {

// The SHA-256 of the executable at `exePath` (whose SHA-256 is `currentSha256`) before Varnock
// first changed it, as its history knows it; empty when it knows none.
std::string OriginalSha256(const std::string& exePath, const std::string& currentSha256);

}  // namespace varnock
