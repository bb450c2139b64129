#pragma once

#include <windows.h>

#include <string>

namespace varnock::win32 {

// The face the screen and the printer use for a requested one: "Courier" is the scalable
// Courier New, which prints at any size; other faces stand as they are.
std::wstring ScalableFace(const std::string& face);

// A font of `face` at `points` (hundredths of a point) for a device of `dpi` dots per inch.
HFONT CreatePointFont(const std::wstring& face, int hundredthsOfPoint, int dpi, bool bold,
                      bool fixedPitch);

// The fonts of one window, made for the screen's dots per inch and deleted with the object:
// the system's dialog face at 8.25 points, the same in bold, and Courier at 9.75 points.
class WindowFonts {
 public:
  explicit WindowFonts(int dpi);
  ~WindowFonts();
  WindowFonts(const WindowFonts&) = delete;
  WindowFonts& operator=(const WindowFonts&) = delete;

  HFONT Dialog() const { return dialog_; }
  HFONT Bold() const { return bold_; }
  HFONT Courier() const { return courier_; }

 private:
  HFONT dialog_;
  HFONT bold_;
  HFONT courier_;
};

}  // namespace varnock::win32
