#include <gtest/gtest.h>

#include "support/files.h"
#include "support/paths.h"
#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
#include "tools/demo_engine.h"
#include "win32/control_ids.h"
#include "win32/layout.h"

namespace varnock::testing {
namespace {

// In the picker: the file with this name clicked in the file list, then OK.
ModalDriver::Step ChooseFile(const wchar_t* name) {
  return [name](HWND picker) {
    const auto index = SendDlgItemMessageW(picker, win32::kListFiles, LB_FINDSTRINGEXACT,
                                           static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    ASSERT_NE(index, LB_ERR);
    PostListChoice(picker, win32::kListFiles, static_cast<int>(index));
    PostClick(picker, win32::kPickerOk);
  };
}

TEST(Win32MainWindow, StartUpListsThePatchesAndShowsTheFirst) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  HWND list = harness.Control(win32::kComboPatch);
  EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(harness.Text(win32::kLabelDirSrc), harness.programFolder);
  // Each line of the description on a line of its own.
  EXPECT_EQ(harness.Text(win32::kTextDescription).rfind("Extra video memory (20 MB)\r\n\r\n", 0),
            0u);
  EXPECT_EQ(harness.Text(win32::kLabelTombVersion), tools::kDemoEngineVersion);
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), "");
  EXPECT_TRUE(IsWindowVisible(harness.Main()));
  EXPECT_FALSE(IsWindowVisible(harness.Control(win32::kLabelDynamic)));
}

TEST(Win32MainWindow, AClickInThePatchListShowsThatPatch) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  harness.ChoosePatch(1);
  EXPECT_EQ(harness.Text(win32::kTextDescription).rfind("Extra WAD textures\r\n", 0), 0u);
  EXPECT_TRUE(IsWindowVisible(harness.Control(win32::kLabelDynamic)));
  harness.ChoosePatch(0);
  EXPECT_EQ(harness.Text(win32::kTextDescription).rfind("Extra video memory", 0), 0u);
  EXPECT_FALSE(IsWindowVisible(harness.Control(win32::kLabelDynamic)));
}

TEST(Win32MainWindow, AppliesAndRemovesThroughTheButtons) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  const Bytes original = ReadWholeFile(harness.exe);
  ModalDriver driver;
  std::string pickerCaption;
  bool filesShown = false;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    pickerCaption = win32::WindowText(picker);
    filesShown = IsWindowVisible(GetDlgItem(picker, win32::kListFiles)) != FALSE;
    ChooseFile(L"tomb4.exe")(picker);
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_EQ(pickerCaption, "Select tomb4 to patch");
  EXPECT_TRUE(filesShown);
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), harness.exe);
  EXPECT_EQ(harness.Text(win32::kLabelTombVersionNow), tools::kDemoEngineVersion);

  harness.Click(win32::kPulApplyPatch);
  harness.Click(win32::kPulApplyPatch);
  const Bytes applied = ReadWholeFile(harness.exe);
  harness.Click(win32::kPulRemovePatch);

  ASSERT_EQ(driver.messages.size(), 3u);
  EXPECT_EQ(driver.messages[0].text, "Ok: applying patch operation has been performed");
  EXPECT_EQ(driver.messages[1].text,
            "WARNING: applying patch operation was already been performed");
  EXPECT_EQ(driver.messages[2].text, "Ok: removing patch operation has been performed");
  for (const auto& message : driver.messages) {
    EXPECT_FALSE(message.critical) << message.text;
  }
  EXPECT_NE(applied, original);
  EXPECT_EQ(applied.size(), original.size());
  EXPECT_EQ(ReadWholeFile(harness.exe), original);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.unexpected.empty());
}

TEST(Win32MainWindow, ApplyWithoutAProgramSaysSoAndOpensNoPicker) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  harness.Click(win32::kPulApplyPatch);
  harness.Click(win32::kPulRemovePatch);
  ASSERT_EQ(driver.messages.size(), 2u);
  EXPECT_EQ(driver.messages[0].text, "You must set path of tomb4 program to apply patch");
  EXPECT_EQ(driver.messages[1].text, "You must set path of tomb4 program to remove patch");
  EXPECT_FALSE(driver.messages[0].critical);
  EXPECT_TRUE(driver.unexpected.empty());
}

TEST(Win32MainWindow, PrintingWithoutAPrinterSaysSo) {
  DWORD size = 0;
  if (GetDefaultPrinterW(nullptr, &size) || GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    GTEST_SKIP() << "this machine has a default printer";
  }
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  harness.Click(win32::kPulStampaDescription);
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].text,
            "ERROR trying to print the description\r\nError mexage: No default printer is "
            "installed.");
  EXPECT_FALSE(driver.messages[0].critical);
  EXPECT_TRUE(driver.unexpected.empty());
}

TEST(Win32MainWindow, TheCloseBoxDeletesTheUnpackedPatches) {
  MainWindowHarness harness(true);
  ASSERT_TRUE(harness.Load());
  const std::string unpacked = JoinPath(harness.programFolder, "Patch_ExtraWadTextures.ptc");
  EXPECT_TRUE(FileExists(unpacked));
  EXPECT_EQ(SendMessageW(harness.Control(win32::kComboPatch), CB_GETCOUNT, 0, 0), 2);
  SendMessageW(harness.Main(), WM_CLOSE, 0, 0);  // as the frame's close box does
  EXPECT_EQ(harness.Main(), nullptr);
  EXPECT_FALSE(FileExists(unpacked));
  EXPECT_FALSE(FileExists(JoinPath(harness.programFolder, "Patch_ExtraVideoMemory20MB.ptc")));
  EXPECT_TRUE(FileExists(JoinPath(harness.programFolder, "varnock.exe")));
}

TEST(Win32MainWindow, TheCloseButtonEndsTheWindowAndDeletesThePatches) {
  MainWindowHarness harness(true);
  ASSERT_TRUE(harness.Load());
  harness.Click(win32::kPulCancel);
  EXPECT_EQ(harness.Main(), nullptr);
  EXPECT_FALSE(FileExists(JoinPath(harness.programFolder, "Patch_ExtraWadTextures.ptc")));
}

TEST(Win32MainWindow, WithoutAnyPatchStartUpSaysSoAndClosesTheWindow) {
  MainWindowHarness harness;
  for (const char* name : {"Patch_ExtraVideoMemory20MB.ptc", "Patch_ExtraWadTextures.ptc"}) {
    RemoveFile(JoinPath(harness.programFolder, name));
  }
  ModalDriver driver;
  EXPECT_FALSE(harness.Load());
  EXPECT_EQ(harness.Main(), nullptr);
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].text.rfind("ERROR: no patch found in current exe", 0), 0u);
  EXPECT_TRUE(driver.messages[0].critical);
}

}  // namespace
}  // namespace varnock::testing
