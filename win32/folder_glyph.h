#pragma once

#include <windows.h>

namespace varnock::win32 {

// A small folder picture, `size` pixels wide, with its top left corner at (x, y): open for the
// folders on the way to the current one, closed for the others.
void DrawFolderGlyph(HDC dc, int x, int y, int size, bool open);

}  // namespace varnock::win32
