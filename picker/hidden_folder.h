#pragma once

#include <string>

namespace varnock {

// True for a folder the system keeps out of sight: on Windows one with the hidden attribute,
// elsewhere one whose name starts with ".".
bool IsHiddenFolder(const std::string& path);

}  // namespace varnock
