#include <gtest/gtest.h>

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

// Folder mode, opened by its access key: the path line passes the focus on; Enter in the name
// box without a name brings a message, after which the focus is back in the name box; the
// button makes the folder of the name typed; the way up and down the folder list; OK takes the open
// folder.
TEST(Win32Picker, FolderModeMakesAFolderAndChoosesAnother) {
  MainWindowHarness harness;
  harness.temp.Write("more\\Patch_ExtraWadTextures.ptc",
                     ReadWholeFile(DemoFile("Patch_ExtraWadTextures.ptc")));
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  std::string caption;
  bool focusPassedOn = false;
  bool focusBack = false;
  std::string pathAfterNewFolder;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    caption = win32::WindowText(picker);
    driver.Later([&, picker] {
      SetFocus(GetDlgItem(picker, win32::kTextPath));
      driver.Later([&, picker] {
        focusPassedOn = GetFocus() == GetDlgItem(picker, win32::kPulNuovaCartella);
        SetFocus(GetDlgItem(picker, win32::kTextPathDir));
        Post(GetDlgItem(picker, win32::kTextPathDir), WM_KEYDOWN, VK_RETURN, 1);
      });
    });
  });
  // Active again once the message has been answered.
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    driver.Later([&, picker] {
      focusBack = GetFocus() == GetDlgItem(picker, win32::kTextPathDir);
      SetDlgItemTextW(picker, win32::kTextPathDir, L" Spare ");
      PostClick(picker, win32::kPulNuovaCartella);
      driver.Later([&, picker] {
        pathAfterNewFolder = win32::WindowText(GetDlgItem(picker, win32::kTextPath));
        PostListChoice(picker, win32::kDir1,
                       FindItem(picker, win32::kDir1, GetFileName(harness.temp.path())), true);
        driver.Later([&, picker] {
          PostListChoice(picker, win32::kDir1, FindItem(picker, win32::kDir1, "more"), true);
          PostClick(picker, win32::kPickerOk);
        });
      });
    });
  });
  // Alt+P, as the window's message loop hands it to the dialog manager.
  MSG key{harness.Control(win32::kComboPatch), WM_SYSCHAR, 'p', 0x20000000, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(harness.Main(), &key));
  Settle(harness.Main());
  EXPECT_EQ(caption, "Select folder with patches");
  EXPECT_TRUE(focusPassedOn);
  EXPECT_TRUE(focusBack);
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

// File mode: OK waits for a file, another drive opens at its root, a double click takes a
// file, and the close box takes nothing.
TEST(Win32Picker, FileModeWaitsForAFileAndTheCloseBoxTakesNothing) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  bool stillOpenAfterOk = false;
  std::string rootAfterDriveChange;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    PostClick(picker, win32::kPickerOk);
    driver.Later([&, picker] {
      stillOpenAfterOk = IsWindowVisible(picker) != FALSE;
      HWND drives = GetDlgItem(picker, win32::kDrive1);
      Post(drives, CB_SETCURSEL,
           SendMessageW(drives, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(L"C:")));
      Post(picker, WM_COMMAND, MAKEWPARAM(win32::kDrive1, CBN_SELCHANGE),
           reinterpret_cast<LPARAM>(drives));
      driver.Later([&, picker] {
        wchar_t first[MAX_PATH] = {};
        SendDlgItemMessageW(picker, win32::kDir1, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
        rootAfterDriveChange = win32::Narrow(first);
        Post(picker, WM_CLOSE);
      });
    });
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_TRUE(stillOpenAfterOk);
  EXPECT_EQ(rootAfterDriveChange, "C:\\");
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), "");
  EXPECT_TRUE(IsWindowEnabled(harness.Main()));

  driver.Then(win32::kPickerClass, [](HWND picker) {
    PostListChoice(picker, win32::kListFiles, FindItem(picker, win32::kListFiles, "tomb4.exe"),
                   true);
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), harness.exe);
  EXPECT_TRUE(driver.messages.empty());
  EXPECT_TRUE(driver.unexpected.empty());
}

}  // namespace
}  // namespace varnock::testing
