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

using win32::PixelRect;
using win32::TwipsToPixels;

RECT InClient(HWND control) {
  RECT box{};
  GetWindowRect(control, &box);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&box), 2);
  return box;
}

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected) {
  if (EqualRect(&actual, &expected)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "(" << actual.left << "," << actual.top << ")-(" << actual.right << "," << actual.bottom
         << ") instead of (" << expected.left << "," << expected.top << ")-(" << expected.right
         << "," << expected.bottom << ")";
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

// The width of `text` in the control's font, in pixels.
int TextWidth(HWND control, const std::string& text) {
  HDC dc = GetDC(control);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  const std::wstring wide = win32::Wide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return size.cx;
}

// Every control of the design is in the window at its box with its caption whole, and the Tab
// key goes through the controls that take the focus in the design's tab order.
void ExpectBuiltFromDesign(HWND window, const WindowDesign& design, int idBase) {
  const int dpi = win32::ScreenDpi();
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, TwipsToPixels(design.width, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(design.height, dpi));
  std::vector<std::pair<int, int>> tabStops;  // tab index, identifier
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    const ControlDesign& control = design.controls[i];
    SCOPED_TRACE(std::string(control.name));
    const int id = idBase + static_cast<int>(i);
    HWND made = GetDlgItem(window, id);
    ASSERT_NE(made, nullptr);
    const RECT box = InClient(made);
    const RECT wanted = PixelRect(control.box, dpi);
    if (control.kind == ControlKind::DropDownList || control.kind == ControlKind::DriveList) {
      // The closed list: the patch list as high as the design says, or as little more as the
      // system needs for the list's font (Wine's lists keep two pixels more at 144 dots per
      // inch); the drive list as high as its font.
      EXPECT_TRUE(box.left == wanted.left && box.top == wanted.top && box.right == wanted.right);
      if (control.kind == ControlKind::DropDownList) {
        EXPECT_GE(box.bottom, wanted.bottom);
        EXPECT_LE(box.bottom, wanted.bottom + 2);
      }
    } else {
      EXPECT_TRUE(SameRect(box, wanted));
    }
    if (!control.caption.empty()) {
      // Labels may show the captions start-up gave them.
      std::string caption = win32::WindowText(made);
      if (control.kind == ControlKind::Button) {
        EXPECT_EQ(caption, WithAccessKey(control.caption));
        // The access key's mark is no part of the visible text.
        caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
      }
      const int room =
          control.kind == ControlKind::Button ? box.right - box.left - 4 : box.right - box.left;
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

TEST(Win32Layout, MainWindowIsBuiltFromItsDesignAtTheScreensDpi) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  if (const char* expected = std::getenv("VARNOCK_EXPECT_DPI")) {
    ASSERT_EQ(win32::ScreenDpi(), std::atoi(expected))
        << "the screen's dots per inch were not changed";
  }
  ExpectBuiltFromDesign(harness.Main(), kMainWindowDesign, win32::kMainControlBase);
  EXPECT_EQ(GetFocus(), harness.Control(win32::kComboPatch));
}

TEST(Win32Layout, PickerIsBuiltFromItsDesign) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    driver.Later([&driver, picker] {
      ExpectBuiltFromDesign(picker, kPickerDesign, win32::kPickerControlBase);
      EXPECT_EQ(GetFocus(), GetDlgItem(picker, win32::kPickerOk));
      driver.Later([picker] { PostClick(picker, win32::kPickerCancel); });
    });
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.unexpected.empty());
}

TEST(Win32Layout, AFixedDialogFrameCentredOnTheScreen) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  EXPECT_EQ(win32::WindowText(harness.Main()), " Varnock");
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
}

TEST(Win32Layout, FontsAreTheDesignsAtTheScreensDpi) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  const int dpi = win32::ScreenDpi();
  const LOGFONTW courier = FontOf(harness.Control(win32::kTextDescription));
  EXPECT_STREQ(courier.lfFaceName, L"Courier New");
  EXPECT_EQ(courier.lfPitchAndFamily & 3, FIXED_PITCH);
  EXPECT_EQ(courier.lfHeight, -MulDiv(975, dpi, 7200));

  const LOGFONTW dialog = FontOf(harness.Control(win32::kLabel3));
  EXPECT_EQ(dialog.lfHeight, -MulDiv(825, dpi, 7200));
  EXPECT_EQ(dialog.lfWeight, FW_NORMAL);
  for (int bold :
       {win32::kLabel1, win32::kLabelDynamic, win32::kPulApplyPatch, win32::kPulRemovePatch}) {
    const LOGFONTW font = FontOf(harness.Control(bold));
    EXPECT_EQ(font.lfWeight, FW_BOLD) << "control " << bold;
    EXPECT_STREQ(font.lfFaceName, dialog.lfFaceName);
  }

  // The face the system put in Courier's place is one of fixed pitch too.
  HDC dc = GetDC(harness.Main());
  HFONT font = reinterpret_cast<HFONT>(
      SendMessageW(harness.Control(win32::kTextDescription), WM_GETFONT, 0, 0));
  HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(harness.Main(), dc);
  EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "a variable-pitch face";
}

// Counts the pixels of `colour` inside `box` of the picture.
int CountColour(const Picture& picture, const RECT& box, std::uint32_t colour) {
  int count = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      count += picture.At(x, y) == colour ? 1 : 0;
    }
  }
  return count;
}

// Pictures are taken from the screen: no other test's window may cover the window meanwhile.
TEST(Win32PicturesAlone, ValuesShowGreenOnDarkGreenAndTheMarkerRed) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  harness.ChoosePatch(1);  // the dynamic patch
  ASSERT_TRUE(IsWindowVisible(harness.Control(win32::kLabelDynamic)));
  const Picture picture = SaveScreenshot(harness.Main(), "main-window-dynamic");

  for (int id : {win32::kLabelTombVersion, win32::kLabelDirSrc, win32::kTextDescription}) {
    RECT box = RectInPicture(harness.Control(id));
    InflateRect(&box, -2, -2);
    const int area = (box.right - box.left) * (box.bottom - box.top);
    EXPECT_GT(CountColour(picture, box, 0x004000), area / 2) << "dark green field " << id;
    EXPECT_GT(CountColour(picture, box, 0x00FF00), 20) << "bright green text in " << id;
  }
  EXPECT_GT(CountColour(picture, RectInPicture(harness.Control(win32::kLabelDynamic)), 0xFF0000),
            20);

  harness.ChoosePatch(0);
  EXPECT_FALSE(IsWindowVisible(harness.Control(win32::kLabelDynamic)));
}

TEST(Win32PicturesAlone, MainWindowAndPickers) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    driver.Later([picker] { SaveScreenshot(picker, "picker-file-mode"); });
    const auto index =
        SendDlgItemMessageW(picker, win32::kListFiles, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(L"tomb4.exe"));
    PostListChoice(picker, win32::kListFiles, static_cast<int>(index));
    PostClick(picker, win32::kPickerOk);
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), harness.exe);

  driver.Then(win32::kPickerClass, [&](HWND picker) {
    driver.Later([picker] { SaveScreenshot(picker, "picker-folder-mode"); });
    PostClick(picker, win32::kPickerCancel);
  });
  harness.Click(win32::kPulChangeDirSrc);
  harness.window->SetStatusLine(
      "Status: applied \xE2\x80\x94 conflicts with Patch_ExtraWadTextures.ptc");
  SaveScreenshot(harness.Main(), "main-window");
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.unexpected.empty());
}

}  // namespace
}  // namespace varnock::testing
