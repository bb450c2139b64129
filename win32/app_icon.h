#pragma once

#include <windows.h>

namespace varnock::win32 {

// Resource number of the program's icon in varnock.rc.
inline constexpr int kAppIconResource = 1;

// The program's icon at `size` pixels: from the program's resources, else drawn now (a test
// program carries no resources). The caller destroys it with DestroyIcon.
HICON CreateAppIcon(int size);

}  // namespace varnock::win32
