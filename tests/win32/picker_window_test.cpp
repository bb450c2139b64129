#include <gtest/gtest.h>

#include "picker/picker_design.h"
#include "support/files.h"
#include "support/paths.h"
#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/text.h"

namespace varnock::testing {
namespace {

int FindItem(HWND dialog, int listId, const std::string& text) {
  return static_cast<int>(SendDlgItemMessageW(dialog, listId, LB_FINDSTRINGEXACT,
                                              static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(win32::Wide(text).c_str())));
}

int ClientHeight(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client.bottom;
}

int TopInClient(HWND control) {
  RECT box{};
  GetWindowRect(control, &box);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&box), 2);
  return box.top;
}

TEST(Win32Picker, FolderModeChoosesAFolderAndMakesNewFolders) {
  MainWindowHarness harness;
  harness.temp.Write("more\\Patch_ExtraWadTextures.ptc",
                     ReadWholeFile(DemoFile("Patch_ExtraWadTextures.ptc")));
  ASSERT_TRUE(harness.Load());
  const int dpi = win32::ScreenDpi();
  ModalDriver driver;
  std::string caption;
  bool filesHidden = false;
  int height = 0;
  int pathTop = 0;
  int okTop = 0;
  bool focusPassedOn = false;
  std::string pathAfterNewFolder;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    caption = win32::WindowText(picker);
    filesHidden = !IsWindowVisible(GetDlgItem(picker, win32::kListFiles)) &&
                  !IsWindowVisible(GetDlgItem(picker, win32::kLabelFile));
    height = ClientHeight(picker);
    pathTop = TopInClient(GetDlgItem(picker, win32::kTextPath));
    okTop = TopInClient(GetDlgItem(picker, win32::kPickerOk));
    // A new folder without a name first.
    PostClick(picker, win32::kPulNuovaCartella);
  });
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    // The path line passes the focus on.
    driver.Later([&, picker] {
      SetFocus(GetDlgItem(picker, win32::kTextPath));
      driver.Later([&, picker] {
        focusPassedOn = GetFocus() == GetDlgItem(picker, win32::kPulNuovaCartella);
      });
    });
    SetDlgItemTextW(picker, win32::kTextPathDir, L" Spare ");
    PostClick(picker, win32::kPulNuovaCartella);
    driver.Later([&, picker] {
      pathAfterNewFolder = win32::WindowText(GetDlgItem(picker, win32::kTextPath));
      // Up to the temporary folder, into "more", and OK.
      PostListChoice(picker, win32::kDir1,
                     FindItem(picker, win32::kDir1, GetFileName(harness.temp.path())), true);
      driver.Later([&, picker] {
        PostListChoice(picker, win32::kDir1, FindItem(picker, win32::kDir1, "more"), true);
        PostClick(picker, win32::kPickerOk);
      });
    });
  });
  harness.Click(win32::kPulChangeDirSrc);

  EXPECT_EQ(caption, "Select folder with patches");
  EXPECT_TRUE(filesHidden);
  const auto top = [dpi](std::string_view name) {
    return win32::TwipsToPixels(
        BoxInMode(kPickerControls[IndexOf(kPickerControls, name)], true).top, dpi);
  };
  EXPECT_EQ(height, win32::TwipsToPixels(kPickerFolderModeHeight, dpi));
  EXPECT_EQ(pathTop, top("Text_Path"));
  EXPECT_EQ(okTop, top("Pul_Ok"));
  EXPECT_TRUE(focusPassedOn);
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].text,
            "Before clicking this button you must type name for new folder");
  EXPECT_TRUE(driver.messages[0].critical);
  EXPECT_EQ(pathAfterNewFolder, harness.temp.File("program\\Spare"));
  EXPECT_TRUE(FolderExists(harness.temp.File("program\\Spare")));
  EXPECT_EQ(harness.Text(win32::kLabelDirSrc), harness.temp.File("more"));
  EXPECT_EQ(SendMessageW(harness.Control(win32::kComboPatch), CB_GETCOUNT, 0, 0), 1);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.unexpected.empty());
}

TEST(Win32Picker, FileModeListsTheDrivesAndWaitsForAFile) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  bool hasDriveC = false;
  bool stillOpenAfterOk = false;
  std::string rootAfterDriveChange;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    HWND drives = GetDlgItem(picker, win32::kDrive1);
    const auto c = SendMessageW(drives, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(L"C:"));
    hasDriveC = c != CB_ERR;
    // OK before any file is chosen: the dialog stays.
    PostClick(picker, win32::kPickerOk);
    driver.Later([&, picker, drives, c] {
      stillOpenAfterOk = IsWindowVisible(picker) != FALSE;
      Post(drives, CB_SETCURSEL, static_cast<WPARAM>(c));
      Post(picker, WM_COMMAND, MAKEWPARAM(win32::kDrive1, CBN_SELCHANGE),
           reinterpret_cast<LPARAM>(drives));
      driver.Later([&, picker] {
        wchar_t first[MAX_PATH] = {};
        SendDlgItemMessageW(picker, win32::kDir1, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
        rootAfterDriveChange = win32::Narrow(first);
        PostClick(picker, win32::kPickerCancel);
      });
    });
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_TRUE(hasDriveC);
  EXPECT_TRUE(stillOpenAfterOk);
  EXPECT_EQ(rootAfterDriveChange, "C:\\");
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), "");
  EXPECT_TRUE(driver.messages.empty());
  EXPECT_TRUE(driver.unexpected.empty());
}

TEST(Win32Picker, ADoubleClickOnAFileTakesIt) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  driver.Then(win32::kPickerClass, [](HWND picker) {
    PostListChoice(picker, win32::kListFiles, FindItem(picker, win32::kListFiles, "tomb4.exe"),
                   true);
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), harness.exe);
  EXPECT_TRUE(driver.unexpected.empty());
}

TEST(Win32Picker, TheCloseBoxGivesNoChoice) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  driver.Then(win32::kPickerClass, [](HWND picker) {
    PostListChoice(picker, win32::kListFiles, FindItem(picker, win32::kListFiles, "tomb4.exe"));
    Post(picker, WM_CLOSE);
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), "");
  EXPECT_TRUE(IsWindowEnabled(harness.Main()));
  EXPECT_TRUE(driver.unexpected.empty());
}

}  // namespace
}  // namespace varnock::testing
