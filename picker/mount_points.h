#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnock {

// The mount points a user would call drives, from a mount table in the format of
// /proc/self/mounts: the root "/" first, then the file systems on devices and network shares,
// by path. Kernel and memory file systems, system folders and read-only images are left out.
std::vector<std::string> ParseMountPoints(std::string_view table);

}  // namespace varnock
