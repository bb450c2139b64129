// The windows are built from their designs: every rule is checked over the design tables, at
// the screen's dots per inch (96, and 144 on the run of at_dpi.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/access_keys.h"
#include "app/main_window_design.h"
#include "picker/picker_design.h"
#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/text.h"

namespace varnock::testing {
namespace {

RECT InParent(HWND control, HWND parent) {
  RECT box{};
  GetWindowRect(control, &box);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
  return box;
}

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

// Every control of the design is in the window at its box, in its font, with its caption
// whole, and the Tab key goes through the controls that take the focus in the design's order;
// in the picker's folder mode, the file list is hidden and the controls below it moved up.
void ExpectBuiltFromDesign(HWND window, const WindowDesign& design, int idBase,
                           bool folderMode = false) {
  const int dpi = win32::ScreenDpi();
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
    const RECT box = InParent(made, window);
    const RECT wanted = win32::PixelRect(BoxInMode(control, folderMode), dpi);
    EXPECT_EQ(box.left, wanted.left);
    EXPECT_EQ(box.top, wanted.top);
    EXPECT_EQ(box.right, wanted.right);
    // The closed patch list as high as the design says, or as little more as the system needs
    // for its font; the drive list as high as its font.
    if (control.kind == ControlKind::DropDownList) {
      EXPECT_GE(box.bottom, wanted.bottom);
      EXPECT_LE(box.bottom, wanted.bottom + 2);
    } else if (control.kind != ControlKind::DriveList) {
      EXPECT_EQ(box.bottom, wanted.bottom);
    }
    LOGFONTW font{};
    GetObjectW(FontOf(made), sizeof(font), &font);
    const bool courier = control.font == ControlFont::Courier;
    EXPECT_EQ(font.lfHeight, -MulDiv(courier ? 975 : 825, dpi, 7200));
    EXPECT_EQ(font.lfWeight, control.font == ControlFont::Bold ? FW_BOLD : FW_NORMAL);
    EXPECT_EQ(courier, std::wstring(font.lfFaceName) == L"Courier New");
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

TEST(Win32Layout, MainWindowIsAFixedFrameBuiltFromItsDesignAtTheScreensDpi) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  if (const char* expected = std::getenv("VARNOCK_EXPECT_DPI")) {
    ASSERT_EQ(win32::ScreenDpi(), std::atoi(expected)) << "the screen's dots per inch are not set";
  }
  ExpectBuiltFromDesign(harness.Main(), kMainWindowDesign, win32::kMainControlBase);
  EXPECT_EQ(GetFocus(), harness.Control(win32::kComboPatch));
  EXPECT_EQ(win32::WindowText(harness.Main()), kMainWindowCaption);
  const LONG_PTR style = GetWindowLongPtrW(harness.Main(), GWL_STYLE);
  EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) != 0);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_NE(SendMessageW(harness.Main(), WM_GETICON, ICON_SMALL, 0), 0);
  RECT frame{};
  GetWindowRect(harness.Main(), &frame);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR(frame.left - work.left, work.right - frame.right, 1);
  EXPECT_NEAR(frame.top - work.top, work.bottom - frame.bottom, 1);
  // The face the system put in Courier's place is one of fixed pitch too.
  HDC dc = GetDC(harness.Main());
  HGDIOBJ previous = SelectObject(dc, FontOf(harness.Control(win32::kTextDescription)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(harness.Main(), dc);
  EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "a variable-pitch face";
}

TEST(Win32Layout, PickerIsBuiltFromItsDesignInBothModes) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  for (const bool folderMode : {false, true}) {
    SCOPED_TRACE(folderMode ? "folder mode" : "file mode");
    driver.Then(win32::kPickerClass, [&, folderMode](HWND picker) {
      driver.Later([&driver, picker, folderMode] {
        ExpectBuiltFromDesign(picker, kPickerDesign, win32::kPickerControlBase, folderMode);
        EXPECT_EQ(GetFocus(), GetDlgItem(picker, win32::kPickerOk));
        SaveScreenshot(picker, folderMode ? "picker-folder-mode" : "picker-file-mode");
        driver.Later([picker] { PostClick(picker, win32::kPickerCancel); });
      });
    });
    harness.Click(folderMode ? win32::kPulChangeDirSrc : win32::kPulChangeTomb);
  }
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.unexpected.empty());
}

// Pictures are taken from the screen: no other test's window may cover the window meanwhile.
TEST(Win32PicturesAlone, ValuesShowGreenOnDarkGreenAndTheMarkerRed) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  harness.ChoosePatch(1);  // the dynamic patch
  harness.window->SetStatusLine(
      "Status: applied \xE2\x80\x94 conflicts with Patch_ExtraWadTextures.ptc");
  const Picture picture = SaveScreenshot(harness.Main(), "main-window");
  RECT frame{};
  GetWindowRect(harness.Main(), &frame);
  const auto count = [&](int id, std::uint32_t colour, int inset) {
    RECT box{};
    GetWindowRect(harness.Control(id), &box);
    OffsetRect(&box, -frame.left, -frame.top);
    InflateRect(&box, -inset, -inset);
    int found = 0;
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) {
        found += picture.At(x, y) == colour ? 1 : 0;
      }
    }
    return std::pair{found, (box.right - box.left) * (box.bottom - box.top)};
  };
  for (int id : {win32::kLabelTombVersion, win32::kLabelDirSrc, win32::kTextDescription}) {
    EXPECT_GT(count(id, 0x004000, 2).first, count(id, 0x004000, 2).second / 2) << "field " << id;
    EXPECT_GT(count(id, 0x00FF00, 2).first, 20) << "bright green text in " << id;
  }
  EXPECT_GT(count(win32::kLabelDynamic, 0xFF0000, 0).first, 20);
}

}  // namespace
}  // namespace varnock::testing
