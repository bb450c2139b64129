#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/window_design.h"

namespace varnock::testing {

// A path the build gives (the host's, in a cross build) as the program sees it: under Wine
// the host's root is drive Z:.
std::string BuildPath(std::string path);

// The demonstration files made by the build: tomb4.exe and the patches bundled with it.
std::string DemoFile(const std::string& name);

// Dispatches the messages waiting in the thread's queue and paints what is due.
void Settle(HWND window);

// Every control of the design is in the window at its box at the screen's dots per inch (wider
// by the window's stretch in a longer language, never in English), in its font, with its
// caption whole, and the Tab key goes through the controls that take the
// focus in the design's order; in the picker's folder mode, the file list is hidden and the
// controls below it moved up.
void ExpectBuiltFromDesign(HWND window, const WindowDesign& design, int idBase,
                           bool folderMode = false);

// The width of `text` in the control's font, in pixels.
int TextWidth(HWND control, const std::string& text);

// The pixels (0x00RRGGBB) of `control`'s box, less `inset` on each side, as the screen shows
// them once its window is painted, top row first.
std::vector<std::uint32_t> PixelsOnScreen(HWND control, int inset);

}  // namespace varnock::testing
