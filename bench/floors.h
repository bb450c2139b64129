#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "support/bytes.h"

namespace varnock::bench {

// The floors the jobs are measured against: the plainest way to read a file, scan it and
// write it.

// The whole file in one read (empty when it cannot be read).
Bytes ReadOnce(const std::string& path);

// One scan of `image` for `needle`, which is absent, so the whole image is passed over.
// Returns where it was found (the image's size when it was not).
std::size_t ScanOnce(const Bytes& image, std::string_view needle);

// The file read once and written back once through the same crash-safe rewrite the engine
// uses. False when either fails.
bool ReadAndRewrite(const std::string& path);

// A pattern of `length` bytes that occurs nowhere in `image`.
std::string AbsentPattern(const Bytes& image, std::size_t length);

}  // namespace varnock::bench
