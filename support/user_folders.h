#pragma once

#include <string>

namespace varnock {

// True when this process may create files in `folder` (false for a missing folder).
bool CanCreateFilesIn(const std::string& folder);

// The per-user folder that takes the bundled patches of a program installed where its user
// cannot write: $XDG_DATA_HOME/varnock/patches (~/.local/share/varnock/patches when that is
// not set) on Linux, %LOCALAPPDATA%\Varnock\patches on Windows. Made, with the folders above
// it, when missing; empty when the platform gives no such folder or it cannot be made.
std::string UserPatchFolder();

// The per-user folder of the program's own data, above the patch folder: $XDG_DATA_HOME/varnock
// on Linux, %LOCALAPPDATA%\Varnock on Windows. Not made; empty when the platform gives none.
std::string UserDataFolder();

}  // namespace varnock
