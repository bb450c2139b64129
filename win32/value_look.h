#pragma once

#include <windows.h>

namespace varnock::win32 {

// The look of the fields that show values: bright green text on dark green.
inline constexpr COLORREF kValueText = RGB(0, 255, 0);
inline constexpr COLORREF kValueBack = RGB(0, 64, 0);
// The dynamic-patch marker's red.
inline constexpr COLORREF kMarkerText = RGB(255, 0, 0);

// The brushes a window paints its fields with, deleted with the object.
class ValueLook {
 public:
  ValueLook() : back_(CreateSolidBrush(kValueBack)) {}
  ~ValueLook() { DeleteObject(back_); }
  ValueLook(const ValueLook&) = delete;
  ValueLook& operator=(const ValueLook&) = delete;

  // Answers WM_CTLCOLORSTATIC or WM_CTLCOLOREDIT for a value field.
  LRESULT Paint(HDC dc) const {
    SetTextColor(dc, kValueText);
    SetBkColor(dc, kValueBack);
    return reinterpret_cast<LRESULT>(back_);
  }

 private:
  HBRUSH back_;
};

}  // namespace varnock::win32
