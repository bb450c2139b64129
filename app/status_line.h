#pragma once

#include <cstddef>
#include <string>

#include "engine/conflicts_text.h"
#include "engine/folder_status.h"

namespace varnock {

// "Status: " and the patch's status word, the argument read back when there is one, and the
// patches it conflicts with: "Status: applied — conflicts with Patch_X.ptc".
std::string StatusLineText(const FolderStatus& folder, std::size_t index);

}  // namespace varnock
