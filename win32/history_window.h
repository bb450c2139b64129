#pragma once

#include <windows.h>

#include "app/history_texts.h"

namespace varnock::win32 {

// The History window over `owner`, modally: the rows of the history in a list that scrolls
// both ways, the file's state under them; returns when it is closed (Close, Enter, Escape or
// the close box).
void ShowHistoryWindow(HWND owner, const HistoryListing& listing);

}  // namespace varnock::win32
