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

int FindItem(HWND dialog, int listId, const std::string& text) {
  return static_cast<int>(SendDlgItemMessageW(dialog, listId, LB_FINDSTRINGEXACT,
                                              static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(win32::Wide(text).c_str())));
}

// The picker built from its design in both modes. Folder mode, opened by its access key: the
// path line passes the focus on; Enter in the name box without a name brings a message, after
// which the focus is back in the name box; the button makes the folder of the name typed; the
// way up and down the folder list; OK takes the open folder. File mode: a file clicked and OK
// take the file.
TEST(Win32Picker, FolderAndFileModeFromTheirDesign) {
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
    ExpectBuiltFromDesign(picker, kPickerDesign, win32::kPickerControlBase, true);
    EXPECT_EQ(GetFocus(), GetDlgItem(picker, win32::kPickerOk));
    SaveScreenshot(picker, "picker-folder-mode");
    SetFocus(GetDlgItem(picker, win32::kTextPath));
    driver.Later([&, picker] {
      focusPassedOn = GetFocus() == GetDlgItem(picker, win32::kPulNuovaCartella);
      SetFocus(GetDlgItem(picker, win32::kTextPathDir));
      Post(GetDlgItem(picker, win32::kTextPathDir), WM_KEYDOWN, VK_RETURN, 1);
    });
  });
  // Active again once the message has been answered.
  driver.Then(win32::kPickerClass, [&](HWND picker) {
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
  EXPECT_EQ(harness.Shown(), harness.temp.File("more") + "|1|||dynamic");

  driver.Then(win32::kPickerClass, [&](HWND picker) {
    ExpectBuiltFromDesign(picker, kPickerDesign, win32::kPickerControlBase);
    SaveScreenshot(picker, "picker-file-mode");
    PostListChoice(picker, win32::kListFiles, FindItem(picker, win32::kListFiles, "tomb4.exe"));
    PostClick(picker, win32::kPickerOk);
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_EQ(harness.Shown(), harness.temp.File("more") + "|1|" + harness.exe + "|" +
                                 tools::kDemoEngineVersion + "|dynamic");
  EXPECT_EQ(driver.messages.size(), 1u);
  EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace varnock::testing
