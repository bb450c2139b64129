// The picker over POSIX paths, a "/" root and mount points; the Windows path rules have
// tests of their own.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"
#include "support/paths.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"
#include "tests/picker/picker_fakes.h"

namespace varnock::testing {
namespace {

class PickerFolderMode : public PickerTest<TestDrivesEnvironment> {
 protected:
  void SetUp() override {
    temp.WriteText("Patches/a.ptc", "x");
    temp.WriteText("file.txt", "x");
    environment.current = temp.path();
    Open(temp.path(), false);
  }

  TempDir temp;
};

TEST_F(PickerFolderMode, HidesTheFilesAndShowsTheOpenFolder) {
  EXPECT_TRUE(view.folderMode);
  EXPECT_TRUE(view.files.empty());
  EXPECT_EQ(view.pathText, temp.path());
  dialog.OnFileClicked(0);  // no file list in folder mode
  EXPECT_EQ(view.pathText, temp.path());

  dialog.OnFolderOpened(view.FolderIndex("Patches"));
  EXPECT_EQ(view.pathText, temp.File("Patches"));
  dialog.OnOk();
  EXPECT_TRUE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), temp.File("Patches"));
  EXPECT_EQ(view.closed, 1);
  dialog.AttachView(view);
  dialog.OnFolderOpened(0);
  EXPECT_EQ(view.pathText, "/");
  dialog.OnOk();
  EXPECT_EQ(dialog.PathDir(), "/");
}

TEST_F(PickerFolderMode, DotDotAfterALinkOpensTheFolderTheSystemOpens) {
  std::filesystem::create_directories(temp.File("real/sub"));
  std::filesystem::create_directory_symlink(temp.File("real/sub"), temp.File("L"));
  dialog.ImpostaValori(temp.File("L/.."), false, "*");
  EXPECT_EQ(view.pathText, std::filesystem::canonical(temp.File("real")).string());
}

TEST_F(PickerFolderMode, NewFolderIsMadeTrimmedAndOpened) {
  view.newFolderName = "  New Levels  ";
  dialog.OnNewFolder();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(FolderExists(temp.File("New Levels")));
  EXPECT_EQ(view.pathText, temp.File("New Levels"));
  EXPECT_EQ(view.folders[view.current].name, "New Levels");
  EXPECT_TRUE(view.folderMode) << "the mode survives the move";
  EXPECT_FALSE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), temp.File("New Levels"));
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(view.newFolderName, "  New Levels  ") << "the name box keeps its text";
  dialog.OnCancel();  // cancel empties the path and keeps the new folder
  EXPECT_FALSE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), "");
  EXPECT_EQ(view.closed, 1);
  EXPECT_TRUE(FolderExists(temp.File("New Levels")));
}

TEST_F(PickerFolderMode, NewFolderMessages) {
  const std::string invalid = "\" is not valid: type the name of one folder inside the open one";
  const std::pair<std::string, std::string> cases[] = {
      {"", "Before clicking this button you must type name for new folder"},
      {"Patches", "Folder \"" + temp.File("Patches") + "\" already exits"},
      {"file.txt", "Folder \"" + temp.File("file.txt") + "\" already exits"},
      {"   ", "Folder \"" + temp.path() + "/\" already exits"},  // blanks name the open folder
      {"../x", "Folder name \"../x" + invalid},
      {"no/such/level", "Folder name \"no/such/level" + invalid},
      {"/tmp", "Folder name \"/tmp" + invalid},
      {".", "Folder name \"." + invalid},
      {" .. ", "Folder name \".." + invalid}};
  for (const auto& [name, message] : cases) {
    ui.Clear();
    view.newFolderName = name;
    dialog.OnNewFolder();
    EXPECT_TRUE(ui.OnlyCritical(message)) << name << ": " << ::testing::PrintToString(ui.Texts());
  }
  EXPECT_FALSE(std::filesystem::exists(ToFsPath(temp.File("../x"))));
  EXPECT_FALSE(std::filesystem::exists(ToFsPath(temp.File("no"))));

  ui.Clear();
  view.newFolderName = std::string("bad\0name", 8);
  dialog.OnNewFolder();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(ui.messages[0].text.rfind("Cannot create folder \"", 0), 0u) << ui.messages[0].text;
  EXPECT_NE(ui.messages[0].text.find("\r\nError mexage: "), std::string::npos);
  EXPECT_EQ(dialog.FolderPath(), temp.path());
  EXPECT_EQ(view.closed, 0);
}

class PickerDrives : public PickerTest<TestDrivesEnvironment> {
 protected:
  void SetUp() override {
    temp.WriteText("data/x.exe", "MZ");
    temp.WriteText("data/deep/y.exe", "MZ");
    temp.WriteText("work/z.exe", "MZ");
    environment.drives = {"/", temp.File("data"), temp.File("offline")};
    environment.notReady = {temp.File("offline")};
    environment.currentOn[temp.File("data")] = temp.File("data/deep");
    environment.current = temp.File("work");
    Open(temp.File("work"), true, "*.exe");
  }

  TempDir temp;
};

TEST_F(PickerDrives, ListsTheDrivesAndFollowsTheOpenFolder) {
  EXPECT_EQ(view.drives, environment.drives);
  EXPECT_EQ(view.drive, 0);
  dialog.OnFolderOpened(view.current - 1);
  EXPECT_EQ(view.drive, 0);
  dialog.OnFolderOpened(view.FolderIndex("data"));
  EXPECT_EQ(view.drive, 1) << "a mount point lies on its own drive";
  dialog.OnDriveChosen(1);
  EXPECT_EQ(dialog.FolderPath(), temp.File("data/deep"));
  EXPECT_EQ(view.files, std::vector<std::string>{"y.exe"});
  EXPECT_EQ(view.drive, 1);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PickerDrives, ADriveThatIsNotReadyIsRefused) {
  dialog.OnFileClicked(0);
  dialog.OnDriveChosen(2);
  EXPECT_TRUE(ui.OnlyCritical("Unit not ready"));
  EXPECT_EQ(dialog.FolderPath(), temp.File("work"));
  EXPECT_EQ(view.drive, 0) << "the drive list goes back to the open folder's drive";
  EXPECT_EQ(view.files, std::vector<std::string>{"z.exe"});
  ui.Clear();
  dialog.ImpostaValori(temp.File("offline/levels"), true, "*");
  EXPECT_EQ(dialog.FolderPath(), temp.File("work"));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace varnock::testing
