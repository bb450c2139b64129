#include "win32/layout.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "win32/text.h"

namespace varnock::win32 {

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) {
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi : 96;
}

int TwipsToPixels(int twips, int dpi) {
  return MulDiv(twips, dpi, 1440);
}

namespace {

// The stretch is kept with the window in millionths.
constexpr const wchar_t* kStretchProperty = L"VarnockHorizontalStretch";
constexpr double kStretchUnit = 1e6;

}  // namespace

int TwipsAcross(int twips, int dpi, double stretch) {
  return TwipsToPixels(static_cast<int>(std::lround(twips * stretch)), dpi);
}

double HorizontalStretch(HWND window) {
  const auto kept = reinterpret_cast<std::intptr_t>(GetPropW(window, kStretchProperty));
  return kept > 0 ? static_cast<double>(kept) / kStretchUnit : 1.0;
}

void SetHorizontalStretch(HWND window, double stretch) {
  const auto kept = static_cast<std::intptr_t>(std::llround(stretch * kStretchUnit));
  SetPropW(window, kStretchProperty, reinterpret_cast<HANDLE>(kept));
}

void ForgetHorizontalStretch(HWND window) {
  RemovePropW(window, kStretchProperty);
}

RECT PixelRect(const TwipsBox& box, int dpi, double stretch) {
  return RECT{TwipsAcross(box.left, dpi, stretch), TwipsToPixels(box.top, dpi),
              TwipsAcross(box.left + box.width, dpi, stretch),
              TwipsToPixels(box.top + box.height, dpi)};
}

void Place(HWND control, const TwipsBox& box, int dpi) {
  const RECT r = PixelRect(box, dpi, HorizontalStretch(GetParent(control)));
  MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void FitComboHeight(HWND combo, const TwipsBox& box, int dpi) {
  const int wantedHeight = TwipsToPixels(box.top + box.height, dpi) - TwipsToPixels(box.top, dpi);
  // Measured again after each change: how the field's height adds up to the control's is the
  // system's own.
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT closed{};
    GetWindowRect(combo, &closed);
    const LONG missing = wantedHeight - (closed.bottom - closed.top);
    const LRESULT field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    if (missing == 0 || field == CB_ERR || field + missing <= 0) {
      return;
    }
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + missing);
  }
}

void SizeAndCentre(HWND window, int width, int height, int dpi) {
  RECT frame{0, 0, TwipsAcross(width, dpi, HorizontalStretch(window)), TwipsToPixels(height, dpi)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  const int outerWidth = frame.right - frame.left;
  const int outerHeight = frame.bottom - frame.top;
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - outerWidth) / 2;
  const int y = work.top + (work.bottom - work.top - outerHeight) / 2;
  SetWindowPos(window, nullptr, x, y, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateControl(HWND parent, const wchar_t* className, const char* text, DWORD style, int id,
                   HFONT font, DWORD exStyle) {
  HWND control = CreateWindowExW(exStyle, className, Wide(text).c_str(), WS_CHILD | style, 0, 0, 0,
                                 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (control != nullptr && font != nullptr) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return control;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  return Narrow(std::wstring(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0)));
}

void SetWindowTextUtf8(HWND window, const std::string& text) {
  SetWindowTextW(window, Wide(text).c_str());
}

}  // namespace varnock::win32
