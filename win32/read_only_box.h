#pragma once

#include <windows.h>

namespace varnock::win32 {

// A read-only multi-line text box made to behave as a value shown, not as text to edit: the
// Tab keys leave it as they leave any other control, and tabbing into it neither selects its
// text nor scrolls it to the end.
void KeepTabsOut(HWND box);

}  // namespace varnock::win32
