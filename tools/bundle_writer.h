#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "support/bytes.h"

namespace varnock::tools {

struct BundleFile {
  std::string name;  // file name without folder, ANSI characters
  Bytes data;        // at least one byte
};

// The bytes of a bundle that will start at `bundleOffset` of its executable: header ("ZA-VA-Z"
// + NUL, `tag`, entry count), the entries, and the 4-byte trailer that holds `bundleOffset`.
Bytes BundleBytes(std::size_t bundleOffset, const std::vector<BundleFile>& files,
                  std::string_view tag = "V1.5");

// Where a bundle already carried by `content` begins; content.size() when it carries none.
std::size_t ExistingBundleStart(const Bytes& content);

// Appends a bundle of `files` to the executable at `path`, replacing a bundle it already
// carries. False with a description when a file is unfit or the executable cannot be rewritten.
bool AppendBundle(const std::string& path, const std::vector<BundleFile>& files,
                  std::string& error);

}  // namespace varnock::tools
