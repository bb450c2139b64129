#pragma once

#include <windows.h>

#include "ui/window_design.h"
#include "win32/fonts.h"

namespace varnock::win32 {

// Makes every control of `design` in `window`, in the design's tab order (the order the Tab key
// follows), with the class, style and font of its kind, at its box. A control's identifier is
// `idBase` plus its place in the design.
void BuildControls(HWND window, const WindowDesign& design, int idBase, const WindowFonts& fonts,
                   int dpi);

// Moves a control of `kind` to `box`. A drop-down list's height includes its open list.
void PlaceControl(HWND control, ControlKind kind, const TwipsBox& box, int dpi);

}  // namespace varnock::win32
