#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
#include "win32/control_ids.h"
#include "win32/layout.h"

namespace varnock::testing {
namespace {

using win32::PixelRect;
using win32::TwipsBox;
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

TEST(Win32Layout, ControlsSitWhereTheDesignPutsThemAtTheScreensDpi) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  const int dpi = win32::ScreenDpi();
  if (const char* expected = std::getenv("VARNOCK_EXPECT_DPI")) {
    ASSERT_EQ(dpi, std::atoi(expected)) << "the screen's dots per inch were not changed";
  }
  RECT client{};
  GetClientRect(harness.Main(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(8685, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(4125, dpi));

  const struct {
    int id;
    TwipsBox box;
  } design[] = {
      {win32::kLabel1, {90, 495, 1815, 240}},
      {win32::kLabelCreatedWithVersion, {45, 855, 2175, 240}},
      {win32::kLabelTombVersion, {2340, 855, 6045, 285}},
      {win32::kLabelDynamic, {7020, 495, 1500, 240}},
      {win32::kLabel3, {90, 1350, 1725, 240}},
      {win32::kTextDescription, {2340, 1305, 6045, 960}},
      {win32::kLabelApplyPatchTo, {135, 2430, 6720, 240}},
      {win32::kLabelNomeExe, {90, 2700, 7125, 285}},
      {win32::kPulChangeTomb, {7335, 2700, 1095, 285}},
      {win32::kPulApplyPatch, {2340, 3645, 2175, 330}},
      {win32::kPulRemovePatch, {4635, 3645, 2175, 330}},
      {win32::kPulCancel, {7335, 3645, 1185, 285}},
      {win32::kLabelTombVersionNow, {2340, 3060, 6090, 285}},
      {win32::kLabelCurrentTomb, {90, 3105, 2220, 240}},
      {win32::kPulChangeDirSrc, {45, 45, 1860, 285}},
      {win32::kLabelDirSrc, {2340, 45, 6045, 285}},
      {win32::kPulStampaDescription, {90, 1845, 2130, 285}},
  };
  for (const auto& control : design) {
    EXPECT_TRUE(SameRect(InClient(harness.Control(control.id)), PixelRect(control.box, dpi)))
        << "control " << control.id;
  }
  // The closed drop-down list: its height is the design's, or as little more as the system
  // needs for the list's font (Wine's lists keep two pixels more at 144 dots per inch).
  const RECT list = InClient(harness.Control(win32::kComboPatch));
  const RECT wanted = PixelRect({2340, 450, 4605, 315}, dpi);
  EXPECT_EQ(list.left, wanted.left);
  EXPECT_EQ(list.top, wanted.top);
  EXPECT_EQ(list.right, wanted.right);
  EXPECT_GE(list.bottom, wanted.bottom);
  EXPECT_LE(list.bottom, wanted.bottom + 2);
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

TEST(Win32Layout, TabMovesThroughTheControlsInTheDesignsOrder) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  const int order[] = {win32::kComboPatch,      win32::kTextDescription,      win32::kPulChangeTomb,
                       win32::kPulApplyPatch,   win32::kPulRemovePatch,       win32::kPulCancel,
                       win32::kPulChangeDirSrc, win32::kPulStampaDescription, win32::kComboPatch};
  EXPECT_EQ(GetFocus(), harness.Control(win32::kComboPatch));
  for (std::size_t i = 1; i < std::size(order); ++i) {
    HWND next = GetNextDlgTabItem(harness.Main(), harness.Control(order[i - 1]), FALSE);
    EXPECT_EQ(GetDlgCtrlID(next), order[i]) << "after control " << order[i - 1];
  }
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
  SaveScreenshot(harness.Main(), "main-window");
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.unexpected.empty());
}

}  // namespace
}  // namespace varnock::testing
