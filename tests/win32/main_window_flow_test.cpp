#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/paths.h"
#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
#include "tools/demo_engine.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/text.h"

namespace varnock::testing {
namespace {

std::string ToolTipOf(const MainWindowHarness& harness, int id) {
  wchar_t shown[1024] = {};
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = harness.Main();
  tool.uId = reinterpret_cast<UINT_PTR>(harness.Control(id));
  tool.lpszText = shown;
  SendMessageW(harness.window->ToolTips(), TTM_GETTEXTW, std::size(shown),
               reinterpret_cast<LPARAM>(&tool));
  return win32::Narrow(shown);
}

// A user's session: the patches listed at start-up, one chosen, the program chosen through the
// picker, the patch applied twice and removed, the description printed, and the window closed,
// which deletes the patches unpacked from the bundle.
TEST(Win32MainWindow, FromStartUpToCloseThroughTheButtons) {
  MainWindowHarness harness(true);
  ASSERT_TRUE(harness.Load());
  HWND list = harness.Control(win32::kComboPatch);
  EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(harness.Text(win32::kLabelDirSrc), harness.programFolder);
  // Each line of the description on a line of its own.
  EXPECT_EQ(harness.Text(win32::kTextDescription).rfind("Extra video memory (20 MB)\r\n\r\n", 0),
            0u);
  EXPECT_EQ(harness.Text(win32::kLabelTombVersion), tools::kDemoEngineVersion);
  EXPECT_FALSE(IsWindowVisible(harness.Control(win32::kLabelDynamic)));
  harness.ChoosePatch(1);
  EXPECT_EQ(harness.Text(win32::kTextDescription).rfind("Extra WAD textures\r\n", 0), 0u);
  EXPECT_TRUE(IsWindowVisible(harness.Control(win32::kLabelDynamic)));
  harness.ChoosePatch(0);
  EXPECT_FALSE(IsWindowVisible(harness.Control(win32::kLabelDynamic)));

  ModalDriver driver;
  harness.Click(win32::kPulApplyPatch);  // no program chosen yet
  std::string pickerCaption;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    pickerCaption = win32::WindowText(picker);
    const auto index =
        SendDlgItemMessageW(picker, win32::kListFiles, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(L"tomb4.exe"));
    PostListChoice(picker, win32::kListFiles, static_cast<int>(index));
    PostClick(picker, win32::kPickerOk);
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_EQ(pickerCaption, "Select tomb4 to patch");
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), harness.exe);
  EXPECT_EQ(ToolTipOf(harness, win32::kLabelNomeExe), harness.exe);
  EXPECT_EQ(harness.Text(win32::kLabelTombVersionNow), tools::kDemoEngineVersion);

  const Bytes original = ReadWholeFile(harness.exe);
  harness.Click(win32::kPulApplyPatch);
  harness.Click(win32::kPulApplyPatch);
  const Bytes applied = ReadWholeFile(harness.exe);
  harness.Click(win32::kPulRemovePatch);
  EXPECT_NE(applied, original);
  EXPECT_EQ(applied.size(), original.size());
  EXPECT_EQ(ReadWholeFile(harness.exe), original);

  DWORD size = 0;
  const bool printer =
      GetDefaultPrinterW(nullptr, &size) || GetLastError() == ERROR_INSUFFICIENT_BUFFER;
  if (!printer) {
    harness.Click(win32::kPulStampaDescription);
  }
  std::vector<std::string> said;
  for (const auto& message : driver.messages) {
    EXPECT_FALSE(message.critical) << message.text;
    said.push_back(message.text);
  }
  std::vector<std::string> expected = {
      "You must set path of tomb4 program to apply patch",
      "Ok: applying patch operation has been performed",
      "WARNING: applying patch operation was already been performed",
      "Ok: removing patch operation has been performed"};
  if (!printer) {
    expected.push_back(
        "ERROR trying to print the description\r\nError mexage: No default printer is "
        "installed.");
  }
  EXPECT_EQ(said, expected);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.unexpected.empty());

  const std::string unpacked = JoinPath(harness.programFolder, "Patch_ExtraWadTextures.ptc");
  EXPECT_TRUE(FileExists(unpacked));
  harness.Click(win32::kPulCancel);
  EXPECT_EQ(harness.Main(), nullptr);
  EXPECT_FALSE(FileExists(unpacked));
  EXPECT_FALSE(FileExists(JoinPath(harness.programFolder, "Patch_ExtraVideoMemory20MB.ptc")));
  EXPECT_TRUE(FileExists(JoinPath(harness.programFolder, "varnock.exe")));
}

}  // namespace
}  // namespace varnock::testing
