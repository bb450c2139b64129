#pragma once

#include <windows.h>

#include "win32/layout.h"

namespace varnock::win32 {

// Registers a window class of the program, once: the dialog face's background and the arrow
// cursor.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure);

// The procedure of a window owned by a C++ object: the object is passed as CreateWindowEx's
// last argument and receives every message, from WM_NCCREATE to WM_NCDESTROY, through
//   LRESULT Owner::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
// After WM_NCDESTROY, or once the owner has let go of the window (GWLP_USERDATA set to 0), the
// messages go to DefWindowProc.
template <typename Owner>
LRESULT CALLBACK OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message == WM_NCDESTROY) {
    ForgetHorizontalStretch(window);  // also when the owner has let go of the window before
  }
  auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (owner == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  }
  return owner->OnMessage(window, message, wParam, lParam);
}

}  // namespace varnock::win32
