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

// The picker built from its design in both modes. Folder mode, opened by its access key: the
// way up and down the folder list, and OK takes the open folder. File mode: a file clicked and
// OK take the file.
TEST(Win32Picker, FolderAndFileModeFromTheirDesign) {
  MainWindowHarness harness;
  harness.temp.Write("more\\Patch_ExtraWadTextures.ptc",
                     ReadWholeFile(DemoFile("Patch_ExtraWadTextures.ptc")));
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  std::string caption;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    caption = win32::WindowText(picker);
    ExpectBuiltFromDesign(picker, kPickerDesign, win32::kPickerControlBase, true);
    const Screenshot shot(picker, "picker-folder-mode");
    ChooseInList(picker, win32::kDir1, GetFileName(harness.temp.path()), true);
    ChooseInList(picker, win32::kDir1, "more", true);
    PostClick(picker, win32::kPickerOk);
  });
  // Alt+P, as the window's message loop hands it to the dialog manager.
  MSG key{harness.Control(win32::kComboPatch), WM_SYSCHAR, 'p', 0x20000000, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(harness.Main(), &key));
  Settle(harness.Main());
  EXPECT_EQ(caption, "Select folder with patches");
  EXPECT_EQ(harness.Shown(), harness.temp.File("more") + "|1|||dynamic");

  driver.Then(win32::kPickerClass, [&](HWND picker) {
    ExpectBuiltFromDesign(picker, kPickerDesign, win32::kPickerControlBase);
    const Screenshot shot(picker, "picker-file-mode");
    ChooseInList(picker, win32::kListFiles, "tomb4.exe");
    PostClick(picker, win32::kPickerOk);
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_EQ(harness.Shown(), harness.temp.File("more") + "|1|" + harness.exe + "|" +
                                 tools::kDemoEngineVersion + "|dynamic");
  EXPECT_TRUE(driver.messages.empty());
  EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace varnock::testing
