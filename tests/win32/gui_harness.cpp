#include "tests/win32/gui_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <tuple>

#include "app/access_keys.h"
#include "picker/picker_design.h"
#include "support/paths.h"
#include "tests/common/demo_install.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/text.h"

namespace varnock::testing {

namespace {

HFONT FontOf(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// The width of `text` in the control's font, in pixels.
int TextWidth(HWND control, const std::string& text) {
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, FontOf(control));
  const std::wstring wide = win32::Wide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return size.cx;
}

}  // namespace

std::string BuildPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path.starts_with("\\") && !path.starts_with("\\\\") ? "Z:" + path : path;
}

std::string DemoFile(const std::string& name) {
  return JoinPath(BuildPath(VARNOCK_DEMO_DIR), name);
}

MainWindowHarness::MainWindowHarness(bool bundled) {
  const DemoInstall install =
      InstallDemo(temp, BuildPath(VARNOCK_DEMO_DIR), "varnock.exe", bundled);
  programFolder = install.programFolder;
  exe = install.exe;
  window = std::make_unique<win32::MainWindow>();
  EXPECT_NE(window->Handle(), nullptr)
      << "no window can be created: run the tests with a display (under Wine: inside "
         "xvfb-run -a -s \"-screen 0 1024x768x24\")";
  pickerHost = std::make_unique<win32::Win32PickerWindowHost>(window->Handle());
  picker = std::make_unique<Dialog_GetFileODir>(pickerEnvironment, ui, *pickerHost);
  presenter = std::make_unique<MainPresenter>(*window, *picker, ui, DemoEnvironment(install));
  window->Connect(*presenter);
}

MainWindowHarness::~MainWindowHarness() {
  window.reset();
  Settle(nullptr);
}

bool MainWindowHarness::Load() {
  if (!presenter->Load()) {
    return false;
  }
  window->ShowCentred();
  Settle(Main());
  return true;
}

std::string MainWindowHarness::Shown() const {
  const LRESULT count = SendMessageW(Control(win32::kComboPatch), CB_GETCOUNT, 0, 0);
  return Text(win32::kLabelDirSrc) + "|" + std::to_string(count) + "|" +
         Text(win32::kLabelNomeExe) + "|" + Text(win32::kLabelTombVersionNow) +
         (IsWindowVisible(Control(win32::kLabelDynamic)) ? "|dynamic" : "");
}

void MainWindowHarness::Click(int id) const {
  EXPECT_NE(Control(id), nullptr) << "control " << id;
  SendMessageW(Control(id), BM_CLICK, 0, 0);
  Settle(Main());
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
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, win32::TwipsToPixels(design.width, dpi));
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
    const RECT wanted = win32::PixelRect(BoxInMode(control, folderMode), dpi);
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
      if (control.kind == ControlKind::Button) {
        EXPECT_EQ(caption, WithAccessKey(control.caption));
        // The access key's mark is no part of the visible text.
        caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
      }
      const int room = box.right - box.left - (control.kind == ControlKind::Button ? 4 : 0);
      EXPECT_LE(TextWidth(made, caption), room) << "the caption \"" << caption << "\" is cut";
    }
    if (TakesFocus(control.kind)) {
      tabStops.emplace_back(control.tabIndex, id);
    }
  }
  std::stable_sort(tabStops.begin(), tabStops.end());
  for (std::size_t i = 0; i < tabStops.size(); ++i) {
    HWND next = GetNextDlgTabItem(window, GetDlgItem(window, tabStops[i].second), FALSE);
    EXPECT_EQ(GetDlgCtrlID(next), tabStops[(i + 1) % tabStops.size()].second)
        << "after control " << tabStops[i].second;
  }
}

Screenshot::Screenshot(HWND window, const std::string& name) {
  // Painted, and the paint handed to the display, without running any other message: the
  // picture may be taken while a test's posted actions wait.
  for (int round = 0; round < 5; ++round) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    Sleep(40);
  }
  GetWindowRect(window, &frame_);
  const int width = frame_.right - frame_.left;
  const int height = frame_.bottom - frame_.top;
  // A 32-bit picture, top row first, as the BMP file holds it too.
  BITMAPINFOHEADER header{sizeof(header), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, frame_.left, frame_.top, SRCCOPY);
  SelectObject(memory, previous);
  pixels_.resize(static_cast<std::size_t>(width) * height);
  GetDIBits(memory, bitmap, 0, height, pixels_.data(), reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  const char* suffix = std::getenv("VARNOCK_SCREENSHOT_SUFFIX");
  CreateDirectoryA(BuildPath(VARNOCK_SCREENSHOT_DIR).c_str(), nullptr);
  std::ofstream out(JoinPath(BuildPath(VARNOCK_SCREENSHOT_DIR),
                             name + (suffix != nullptr ? suffix : "") + ".bmp"),
                    std::ios::binary);
  const auto imageBytes = static_cast<DWORD>(pixels_.size() * 4);
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(header);
  const BITMAPFILEHEADER file{0x4D42, offset + imageBytes, 0, 0, offset};
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  out.write(reinterpret_cast<const char*>(pixels_.data()), imageBytes);
  EXPECT_TRUE(out.good()) << name;
}

std::pair<int, int> Screenshot::Count(HWND control, std::uint32_t colour, int inset) const {
  RECT box{};
  GetWindowRect(control, &box);
  InflateRect(&box, -inset, -inset);
  int found = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const std::size_t at =
          static_cast<std::size_t>(y - frame_.top) * (frame_.right - frame_.left) +
          (x - frame_.left);
      found += (pixels_[at] & 0x00FFFFFF) == colour ? 1 : 0;
    }
  }
  return {found, (box.right - box.left) * (box.bottom - box.top)};
}

}  // namespace varnock::testing
