#include "win32/history_window.h"

#include <algorithm>

#include "win32/control_ids.h"
#include "win32/design_controls.h"
#include "win32/fonts.h"
#include "win32/layout.h"
#include "win32/modal_loop.h"
#include "win32/text.h"
#include "win32/window_class.h"

namespace varnock::win32 {

namespace {

class HistoryWindow {
 public:
  explicit HistoryWindow(const HistoryListing& listing)
      : listing_(listing), dpi_(ScreenDpi()), fonts_(dpi_) {}

  void Run(HWND owner) {
    RegisterWindowClass(kHistoryWindowClass, &OwnerProcedure<HistoryWindow>);
    HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kHistoryWindowClass,
                                  Wide(listing_.title).c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  0, 0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), this);
    if (window == nullptr) {
      return;
    }
    BuildControls(window, kHistoryWindowDesign, kHistoryControlBase, fonts_, dpi_);
    Fill(window);
    SizeAndCentre(window, kHistoryWindowDesign.width, kHistoryWindowDesign.height, dpi_);
    RunModal(window);
  }

  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !IsChild(window, GetFocus())) {
          SetFocus(GetDlgItem(window, kListHistory));
        }
        return 0;
      case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL ||
            (id == kPulCloseHistory && HIWORD(wParam) == BN_CLICKED)) {
          EndModal(window);
        }
        return 0;
      }
      case WM_CLOSE:
        EndModal(window);
        return 0;
      default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
  }

 private:
  // The rows, the latest current and in view; the list scrolls sideways as far as its longest
  // row.
  void Fill(HWND window) {
    HWND rows = GetDlgItem(window, kListHistory);
    HDC dc = GetDC(rows);
    HGDIOBJ previous = SelectObject(dc, fonts_.Dialog());
    int widest = 0;
    for (const std::string& row : listing_.rows) {
      const std::wstring text = Wide(row);
      SendMessageW(rows, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx));
    }
    SelectObject(dc, previous);
    ReleaseDC(rows, dc);
    SendMessageW(rows, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
    if (!listing_.rows.empty()) {
      SendMessageW(rows, LB_SETCURSEL, listing_.rows.size() - 1, 0);
    }
    SetWindowTextW(GetDlgItem(window, kLabelHistoryState), Wide(listing_.state).c_str());
  }

  const HistoryListing& listing_;
  int dpi_;
  WindowFonts fonts_;
};

}  // namespace

void ShowHistoryWindow(HWND owner, const HistoryListing& listing) {
  HistoryWindow window(listing);
  window.Run(owner);
}

}  // namespace varnock::win32
