#pragma once

#include <windows.h>

namespace varnock::win32 {

// Remembers the control of a window that had the focus when the window lost the activation (to
// a message box, the picker, another program) and gives the focus back to it when the window
// is active again; `first` has it before the user moved it.
class FocusKeeper {
 public:
  void SetFirst(HWND first) { last_ = first; }
  // `from` cannot take the focus any more (it is disabled): `to` takes it in its stead.
  void Replace(HWND from, HWND to) {
    if (last_ == from) {
      last_ = to;
    }
  }
  // Answers WM_ACTIVATE of `window`.
  void OnActivate(HWND window, bool active) {
    if (!active) {
      HWND focus = GetFocus();
      if (focus != nullptr && IsChild(window, focus)) {
        last_ = focus;
      }
    } else if (last_ != nullptr && IsWindow(last_)) {
      SetFocus(last_);
    }
  }

 private:
  HWND last_ = nullptr;
};

}  // namespace varnock::win32
