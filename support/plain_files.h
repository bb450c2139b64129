#pragma once

#include <string>
#include <vector>

namespace varnock {

// The names of the plain files of `folder` (never its folders), read from the folder's own
// entries without looking at each file again: Windows gives the folder's order; elsewhere the
// names come by their upper-case form, as an NTFS folder lists them. None when the folder
// cannot be read.
std::vector<std::string> PlainFileNames(const std::string& folder);

}  // namespace varnock
