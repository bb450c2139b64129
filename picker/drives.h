#pragma once

#include <string>
#include <vector>

namespace varnock {

// The machine's drives, as roots in display order: on Windows the logical drives ("C:\"), on
// other systems the mount points a user would call drives, the root "/" first.
std::vector<std::string> ListDrives();

// False when the drive's root cannot be read: no medium in it, unreachable, no permission.
bool DriveIsReady(const std::string& root);

}  // namespace varnock
