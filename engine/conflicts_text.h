#pragma once

#include <cstddef>
#include <string>

#include "engine/folder_status.h"

namespace varnock {

// 19997 as "19,997".
std::string GroupedNumber(std::size_t count);

// "conflicts with " and the patches that share a byte with entry `index`: all of them up to
// three, else the first two and how many more ("conflicts with A.ptc, B.ptc and 19,997
// others"); empty when there are none. The windows and the plain status show the same text.
std::string ConflictsText(const FolderStatus& folder, std::size_t index);
// For a column named "Conflicts with", which a narrow window cuts short: the name alone for
// one patch; else how many first, so that the count is never cut away, then the names as
// above ("3 patches: A.ptc, B.ptc, C.ptc", "19,999 patches: A.ptc, B.ptc, …").
std::string ConflictColumnText(const FolderStatus& folder, std::size_t index);

}  // namespace varnock
