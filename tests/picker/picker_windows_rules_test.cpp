#include <gtest/gtest.h>

#include "tests/common/recording_ui.h"
#include "tests/picker/picker_fakes.h"

namespace varnock::testing {
namespace {

// The rules of Windows paths, on a machine held in memory.
using PickerOnWindows = PickerTest<FakeWindowsEnvironment>;

// Folder mode gives a drive root as letter and colon; file mode lists a root once, and a file
// there keeps the doubled separator.
TEST_F(PickerOnWindows, ADriveRootIsLetterAndColonAndAFileThereKeepsTheDoubledSeparator) {
  for (const auto& [start, shown, chosen] :
       {std::tuple{"C:\\", "C:\\", "C:"}, std::tuple{"C:\\Games\\", "C:\\Games", "C:\\Games"}}) {
    Open(start, false);
    EXPECT_EQ(dialog.PathText(), shown);
    dialog.OnOk();
    EXPECT_EQ(dialog.PathDir(), chosen);
  }
  Open("C:\\", true);
  EXPECT_EQ(environment.listed.back(), "C:");
  EXPECT_EQ(dialog.Files(), std::vector<std::string>{"tomb4.exe"});
  dialog.OnFileClicked(0);
  EXPECT_EQ(dialog.PathText(), "C:\\\\tomb4.exe");
  dialog.OnOk();
  EXPECT_TRUE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), "C:\\\\tomb4.exe");
}

// The folder list runs from the drive root; a start on a missing drive or folder falls back to
// the current folder, a bare drive names its current folder, "\" starts at the current
// folder's drive and "C:" without a separator at the drive's current folder.
TEST_F(PickerOnWindows, TheFolderListRunsFromTheDriveRootAndStartsFallBack) {
  Open("c:/games", true);
  EXPECT_EQ(dialog.FolderPath(), "C:\\games");
  ASSERT_EQ(dialog.CurrentFolderEntry(), 1);
  EXPECT_EQ(dialog.Folders()[0], (FolderEntry{"C:\\", "C:\\", 0, true}));
  EXPECT_EQ(dialog.Folders()[2], (FolderEntry{"TR4", "C:\\games\\TR4", 2, false}));
  EXPECT_EQ(view.drives, (std::vector<std::string>{"C:", "D:"}));
  EXPECT_EQ(dialog.DriveIndex(), 0);
  for (const auto& [start, opened] :
       {std::pair{"Q:\\Games", "C:\\Games"}, std::pair{"C:\\Nowhere", "C:\\Games"},
        std::pair{"\\\\server\\share", "C:\\Games"}, std::pair{"D:", "D:\\"},
        std::pair{"\\Games\\TR4", "C:\\Games\\TR4"}, std::pair{"c:TR4", "C:\\Games\\TR4"}}) {
    Open(start, true);
    EXPECT_EQ(dialog.FolderPath(), opened) << start;
  }
}

TEST_F(PickerOnWindows, NewFolderAtARoot) {
  Open("D:\\", false);
  const std::string invalid = "\" is not valid: type the name of one folder inside the open one";
  const std::pair<std::string, std::string> cases[] = {
      {"   ", "Folder \"D:\\\" already exits"},
      {"Levels", "Folder \"D:\\Levels\" already exits"},
      {"..\\x", "Folder name \"..\\x" + invalid},
      {"a/b", "Folder name \"a/b" + invalid},
      {"C:x", "Folder name \"C:x" + invalid}};
  for (const auto& [name, message] : cases) {
    ui.Clear();
    view.newFolderName = name;
    dialog.OnNewFolder();
    EXPECT_TRUE(ui.OnlyCritical(message)) << name << ": " << ::testing::PrintToString(ui.Texts());
  }
  ui.Clear();
  view.newFolderName = " Mine ";
  dialog.OnNewFolder();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(environment.FolderExists("D:\\Mine"));
  EXPECT_EQ(dialog.PathDir(), "D:\\Mine");
  EXPECT_FALSE(environment.FolderExists("D:\\x"));
}

}  // namespace
}  // namespace varnock::testing
