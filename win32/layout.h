#pragma once

#include <windows.h>

#include <string>

#include "ui/window_design.h"

namespace varnock::win32 {

// The dots per inch of the screen; the program declares itself aware of them, so the system
// does not stretch its windows.
int ScreenDpi();

// Twips to pixels at `dpi`: 15 twips a pixel at 96 dots per inch.
int TwipsToPixels(int twips, int dpi);
// A distance across a window: a window whose captions do not fit in the user's language is
// wider than its design, by the stretch it was given (1 when every caption fits).
int TwipsAcross(int twips, int dpi, double stretch);
double HorizontalStretch(HWND window);
void SetHorizontalStretch(HWND window, double stretch);
// Takes the stretch off a window that is being destroyed (a window keeps no property past it).
void ForgetHorizontalStretch(HWND window);
// Edges are rounded, not sizes: neighbours that touch in the design still touch.
RECT PixelRect(const TwipsBox& box, int dpi, double stretch);

// Moves and sizes a child control to its place, across by its parent's stretch.
void Place(HWND control, const TwipsBox& box, int dpi);
// A closed drop-down list as high as its design box: its selection field is sized to fit.
void FitComboHeight(HWND combo, const TwipsBox& box, int dpi);

// Sizes a top-level window so that its client area is `width` (by its stretch) by `height`
// twips, centred on the screen's work area.
void SizeAndCentre(HWND window, int width, int height, int dpi);

// A child control with the given font; `id` identifies it to its parent.
HWND CreateControl(HWND parent, const wchar_t* className, const char* text, DWORD style, int id,
                   HFONT font, DWORD exStyle = 0);

// The text of a window or control.
std::string WindowText(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& text);

}  // namespace varnock::win32
