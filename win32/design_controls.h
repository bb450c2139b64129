#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "app/window_stretch.h"
#include "ui/window_design.h"
#include "win32/fonts.h"

namespace varnock::win32 {

// Makes every control of `design` in `window`, in the design's tab order (the order the Tab key
// follows), with the class, style and font of its kind, at its box. A control's identifier is
// `idBase` plus its place in the design. A caption that does not fit its control widens the
// window (GrowForCaptions).
void BuildControls(HWND window, const WindowDesign& design, int idBase, const WindowFonts& fonts,
                   int dpi);

// Widens the window and its controls in proportion when a caption in the user's language does
// not fit its control in the control's font, or one of `more` (measured by the window itself)
// does not fit its room; in English, and where everything fits, the window keeps its design's
// size. The window's size is set afterwards, from its design (SizeAndCentre).
void GrowForCaptions(HWND window, const WindowDesign& design, int idBase, int dpi,
                     std::span<const CaptionMeasure> more = {});

// The width of `text` in `font`, in pixels, as `window` draws it.
int TextWidth(HWND window, HFONT font, const std::string& text);

// Moves a control of `kind` to `box`. A drop-down list's height includes its open list.
void PlaceControl(HWND control, ControlKind kind, const TwipsBox& box, int dpi);

}  // namespace varnock::win32
