#pragma once

#include <string>

#include "support/bytes.h"

namespace varnock {

// The file's bytes, read until its end. For files whose size says nothing of their contents,
// such as the system's tables under /proc, which report a size of 0. False with the
// platform's description of the failure when the file cannot be read.
bool ReadToEnd(const std::string& path, Bytes& content, std::string& error);

}  // namespace varnock
