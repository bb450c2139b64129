#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace varnock::win32 {

// A small modal box over `owner` (may be null) that shows `prompt`, offers `proposed` as the
// answer, and returns what the user typed when the box is closed with OK; nothing when it is
// cancelled or closed.
std::optional<std::string> RunInputBox(HWND owner, const std::string& prompt,
                                       const std::string& title, const std::string& proposed);

}  // namespace varnock::win32
