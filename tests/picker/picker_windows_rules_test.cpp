#include <gtest/gtest.h>

#include "tests/common/recording_ui.h"
#include "tests/picker/picker_fakes.h"

namespace varnock::testing {
namespace {

// The rules of Windows paths, on a machine held in memory.
class PickerOnWindows : public PickerTest<FakeWindowsEnvironment> {
 protected:
  void SetUp() override {
    environment.AddFile("C:\\tomb4.exe");
    environment.AddFile("C:\\Games\\tomb4.exe");
    environment.AddFolder("C:\\Games\\TR4");
    environment.AddFolder("D:\\Levels");
  }
};

TEST_F(PickerOnWindows, FolderModeReturnsADriveRootAsLetterAndColon) {
  Open("C:\\", false);
  EXPECT_EQ(view.pathText, "C:\\");
  dialog.OnOk();
  EXPECT_EQ(dialog.PathDir(), "C:");

  Open("C:\\Games\\", false);
  EXPECT_EQ(view.pathText, "C:\\Games");
  dialog.OnOk();
  EXPECT_EQ(dialog.PathDir(), "C:\\Games");
}

// In file mode a root is listed once and a file there keeps the doubled separator.
TEST_F(PickerOnWindows, FileModeAtARootListsOnceAndKeepsTheDoubledSeparator) {
  Open("C:\\", true);
  EXPECT_EQ(environment.listed.back(), "C:");
  EXPECT_EQ(view.files, std::vector<std::string>{"tomb4.exe"});
  dialog.OnFileClicked(0);
  EXPECT_EQ(view.pathText, "C:\\\\tomb4.exe");
  dialog.OnOk();
  EXPECT_TRUE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), "C:\\\\tomb4.exe");
}

TEST_F(PickerOnWindows, TheFolderListRunsFromTheDriveRoot) {
  Open("c:/games", true);
  EXPECT_EQ(dialog.FolderPath(), "C:\\games");
  ASSERT_EQ(view.current, 1);
  EXPECT_EQ(view.folders[0], (FolderEntry{"C:\\", "C:\\", 0, true}));
  EXPECT_EQ(view.folders[2], (FolderEntry{"TR4", "C:\\games\\TR4", 2, false}));
  EXPECT_EQ(view.drives, (std::vector<std::string>{"C:", "D:"}));
  EXPECT_EQ(view.drive, 0);
}

TEST_F(PickerOnWindows, StartFoldersOnMissingDrivesOrFoldersFallBack) {
  for (const char* start : {"Q:\\Games", "C:\\Nowhere", "\\\\server\\share"}) {
    Open(start, true);
    EXPECT_EQ(dialog.FolderPath(), "C:\\Games") << start;
  }
  Open("D:", true);  // a bare drive names its current folder
  EXPECT_EQ(dialog.FolderPath(), "D:\\");
  EXPECT_EQ(view.drive, 1);
  Open("\\Games\\TR4", true);  // rooted on the current folder's drive
  EXPECT_EQ(dialog.FolderPath(), "C:\\Games\\TR4");
}

TEST_F(PickerOnWindows, NewFolderAtARoot) {
  Open("D:\\", false);
  view.newFolderName = "   ";
  dialog.OnNewFolder();
  EXPECT_TRUE(ui.OnlyCritical("Folder \"D:\\\" already exits"));
  ui.Clear();
  view.newFolderName = "Levels";
  dialog.OnNewFolder();
  EXPECT_TRUE(ui.OnlyCritical("Folder \"D:\\Levels\" already exits"));
  ui.Clear();
  view.newFolderName = " Mine ";
  dialog.OnNewFolder();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(environment.FolderExists("D:\\Mine"));
  EXPECT_EQ(dialog.FolderPath(), "D:\\Mine");
  EXPECT_EQ(dialog.PathDir(), "D:\\Mine");
  for (const char* name : {"..\\x", "a/b", "C:x"}) {
    ui.Clear();
    view.newFolderName = name;
    dialog.OnNewFolder();
    ASSERT_EQ(ui.messages.size(), 1u) << name;
    EXPECT_EQ(ui.messages[0].text.rfind("Folder name \"", 0), 0u) << name;
  }
  EXPECT_FALSE(environment.FolderExists("D:\\x"));
}

}  // namespace
}  // namespace varnock::testing
