#pragma once

#include <windows.h>

namespace varnock::win32 {

// Shows `window` over its owner, which stays disabled meanwhile, and dispatches the thread's
// messages until the window is destroyed; then gives the owner the activation back. `keys`,
// when given, are the window's shortcut keys.
void RunModal(HWND window, HACCEL keys = nullptr);

// Ends a modal window: the owner is enabled first, so that it, and no other program's window,
// is activated when this one goes.
void EndModal(HWND window);

// Dispatches the thread's messages until `window` is destroyed; Tab and the arrow keys move
// between its controls, and `keys`, when given, send the window their commands.
void RunMessageLoop(HWND window, HACCEL keys = nullptr);

}  // namespace varnock::win32
