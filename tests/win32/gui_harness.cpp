#include "tests/win32/gui_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>

#include "app/access_keys.h"
#include "picker/picker_design.h"
#include "support/message_catalogue.h"
#include "support/paths.h"
#include "win32/design_controls.h"
#include "win32/layout.h"
#include "win32/text.h"

namespace varnock::testing {

namespace {

HFONT FontOf(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

}  // namespace

int TextWidth(HWND control, const std::string& text) {
  return win32::TextWidth(control, FontOf(control), text);
}

std::string BuildPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path.starts_with("\\") && !path.starts_with("\\\\") ? "Z:" + path : path;
}

std::string DemoFile(const std::string& name) {
  return JoinPath(BuildPath(VARNOCK_DEMO_DIR), name);
}

void Settle(HWND window) {
  if (window != nullptr && IsWindow(window)) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  MSG message{};
  for (int round = 0; round < 1000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++round) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void ExpectBuiltFromDesign(HWND window, const WindowDesign& design, int idBase, bool folderMode) {
  const int dpi = win32::ScreenDpi();
  if (const char* expected = std::getenv("VARNOCK_EXPECT_DPI")) {
    ASSERT_EQ(dpi, std::atoi(expected)) << "the screen's dots per inch are not set";
  }
  const double stretch = win32::HorizontalStretch(window);
  // In English every caption fits the design; a longer language may widen the window.
  if (ActiveCatalogue().Size() == 0) {
    EXPECT_EQ(stretch, 1.0);
  }
  EXPECT_LE(stretch, 1.6);
  RECT client{};
  GetClientRect(window, &client);
  // A window wider than the system lets it be (the pseudo-language at 144 dots per inch on the
  // tests' small screen) is as wide as it may be.
  const int width = win32::TwipsAcross(design.width, dpi, stretch);
  RECT frame{0, 0, width, 0};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  const int widest = GetSystemMetrics(SM_CXMAXTRACK) - (frame.right - frame.left - width);
  EXPECT_TRUE(client.right == width || (client.right < width && client.right >= widest))
      << client.right << " pixels wide, not " << width;
  EXPECT_EQ(client.bottom,
            win32::TwipsToPixels(folderMode ? kPickerFolderModeHeight : design.height, dpi));
  std::vector<std::pair<int, int>> tabStops;  // tab index, identifier
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    const ControlDesign& control = design.controls[i];
    SCOPED_TRACE(std::string(control.name));
    const int id = idBase + static_cast<int>(i);
    HWND made = GetDlgItem(window, id);
    ASSERT_NE(made, nullptr);
    if (!ShownInMode(control, folderMode)) {
      EXPECT_EQ(GetWindowLongPtrW(made, GWL_STYLE) & WS_VISIBLE, 0) << "shown";
      continue;
    }
    RECT box{};
    GetWindowRect(made, &box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    const RECT wanted = win32::PixelRect(BoxInMode(control, folderMode), dpi, stretch);
    EXPECT_EQ((std::array{box.left, box.top, box.right}),
              (std::array{wanted.left, wanted.top, wanted.right}));
    // The closed patch list as high as the design says, or as little more as the system needs
    // for its font; the drive list as high as its font.
    if (control.kind != ControlKind::DriveList) {
      EXPECT_GE(box.bottom, wanted.bottom);
      EXPECT_LE(box.bottom, wanted.bottom + (control.kind == ControlKind::DropDownList ? 2 : 0));
    }
    LOGFONTW font{};
    GetObjectW(FontOf(made), sizeof(font), &font);
    const bool courier = control.font == ControlFont::Courier;
    EXPECT_EQ(
        std::tuple(font.lfHeight, font.lfWeight, std::wstring(font.lfFaceName) == L"Courier New"),
        std::tuple(-MulDiv(courier ? 975 : 825, dpi, 7200),
                   control.font == ControlFont::Bold ? FW_BOLD : FW_NORMAL, courier));
    if (!control.caption.empty()) {
      // Labels may show the captions start-up gave them.
      std::string caption = win32::WindowText(made);
      const bool button = control.kind == ControlKind::Button;
      const bool checkBox = control.kind == ControlKind::CheckBox;
      if (button || checkBox) {
        EXPECT_EQ(caption, WithAccessKey(control.caption));
        // The access key's mark is no part of the visible text.
        caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
      }
      // A button's border, a check box's box.
      const int room = box.right - box.left - (button ? 4 : 0) -
                       (checkBox ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0);
      EXPECT_LE(TextWidth(made, caption), room) << "the caption \"" << caption << "\" is cut";
    }
    if (TakesFocus(control.kind)) {
      tabStops.emplace_back(control.tabIndex, id);
    }
  }
  // Every control the Tab key stops on without a caption of its own comes just after a label
  // that names it: the design's, or a hidden one.
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    const ControlKind kind = design.controls[i].kind;
    if (TakesFocus(kind) && kind != ControlKind::Button && kind != ControlKind::CheckBox) {
      HWND label = GetWindow(GetDlgItem(window, idBase + static_cast<int>(i)), GW_HWNDPREV);
      wchar_t labelClass[16] = {};
      GetClassNameW(label, labelClass, 16);
      EXPECT_EQ(
          std::wstring(labelClass) + L":" + std::to_wstring(!win32::WindowText(label).empty()),
          L"Static:1")
          << design.controls[i].name << " has no label";
    }
  }
  for (const ControlLabel& named : design.labels) {
    EXPECT_EQ(GetWindow(GetDlgItem(window, idBase + IndexOf(design.controls, named.control)),
                        GW_HWNDPREV),
              GetDlgItem(window, idBase + IndexOf(design.controls, named.label)))
        << named.control;
  }
  std::stable_sort(tabStops.begin(), tabStops.end());
  for (std::size_t i = 0; i < tabStops.size(); ++i) {
    HWND next = GetNextDlgTabItem(window, GetDlgItem(window, tabStops[i].second), FALSE);
    EXPECT_EQ(GetDlgCtrlID(next), tabStops[(i + 1) % tabStops.size()].second)
        << "after control " << tabStops[i].second;
  }
}

std::vector<std::uint32_t> PixelsOnScreen(HWND control, int inset) {
  // Painted, and the paint handed to the display, without running any other message.
  for (int round = 0; round < 5; ++round) {
    RedrawWindow(GetAncestor(control, GA_ROOT), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    Sleep(40);
  }
  RECT box{};
  GetWindowRect(control, &box);
  InflateRect(&box, -inset, -inset);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  // A 32-bit picture, top row first.
  BITMAPINFOHEADER header{sizeof(header), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, box.left, box.top, SRCCOPY);
  SelectObject(memory, previous);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (std::uint32_t& pixel : pixels) {
    pixel &= 0x00FFFFFF;
  }
  return pixels;
}

}  // namespace varnock::testing
