#include "win32/read_only_box.h"

// After windows.h, which it needs.
#include <commctrl.h>

namespace varnock::win32 {

namespace {

LRESULT CALLBACK ReadOnlyBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR /*id*/, DWORD_PTR /*data*/) {
  if (message == WM_GETDLGCODE) {
    return DefSubclassProc(box, message, wParam, lParam) &
           ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_HASSETSEL);
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(box, &ReadOnlyBoxProc, 0);
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void KeepTabsOut(HWND box) {
  SetWindowSubclass(box, &ReadOnlyBoxProc, 0, 0);
}

}  // namespace varnock::win32
