#pragma once

#include <string>

namespace varnock::texts {

// The warning for a patch folder in which no patch was found, unless its path was too long for
// the system to look in it. The window and the command line show the same.
std::string EmptyPatchFolderText(const std::string& folder);

}  // namespace varnock::texts
