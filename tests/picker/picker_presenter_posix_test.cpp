// The picker over POSIX paths, a "/" root and mount points; the Windows path rules have tests
// of their own.

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>
#include <tuple>

#include "picker/picker_paths.h"
#include "support/files.h"
#include "tests/common/temp_dir.h"
#include "tests/picker/picker_fakes.h"

namespace varnock::testing {
namespace {

class Picker : public PickerTest<TestDrivesEnvironment> {
 protected:
  void SetUp() override {
    temp.WriteText("tomb4.exe", "MZ");
    temp.WriteText("Tomb4_old.EXE", "MZ");
    temp.WriteText("tom2pc.exe", "MZ");
    temp.WriteText("Levels/readme.txt", "x");
    temp.WriteText("bin/tomb4.exe", "MZ");
    temp.WriteText(".cache/tomb4.exe", "MZ");  // hidden: not in the folder list
    environment.current = temp.path();
  }

  TempDir temp;
};

// The start folder, its path from the root down and its subfolders (hidden ones left out), and
// its files that match. OK needs a clicked file that still exists; clicking nothing empties the
// path line; opening a folder relists it and clears the choice, one that vanished leaves the
// list, and an entry outside the list opens nothing.
TEST_F(Picker, FileModeShowsTheFolderAndOkNeedsAnExistingClickedFile) {
  Open(temp.path(), true, "tomb4*.exe");
  ASSERT_EQ(dialog.Files(), (std::vector<std::string>{"tomb4.exe", "Tomb4_old.EXE"}));
  std::vector<FolderEntry> shown{{"/", "/", 0, true}};
  for (const std::filesystem::path& part : ToFsPath(temp.path()).relative_path()) {
    const std::string name = FromFsPath(part);
    shown.push_back({name, JoinChild(shown.back().path, name, PathStyle::Posix),
                     static_cast<int>(shown.size()), true});
  }
  const int below = static_cast<int>(shown.size());
  shown.push_back({"bin", temp.File("bin"), below, false});
  shown.push_back({"Levels", temp.File("Levels"), below, false});
  EXPECT_EQ(dialog.Folders(), shown);
  EXPECT_EQ(dialog.CurrentFolderEntry(), below - 1);

  dialog.OnFileClicked(0);
  EXPECT_EQ(dialog.PathText(), temp.File("tomb4.exe"));
  std::filesystem::remove(ToFsPath(temp.File("tomb4.exe")));
  dialog.OnOk();  // the file has gone meanwhile
  EXPECT_FALSE(dialog.ExitValue());
  EXPECT_EQ(view.closed, 0);
  dialog.OnFileClicked(-1);
  EXPECT_EQ(dialog.PathText(), "");

  dialog.OnFileClicked(0);
  dialog.OnFolderOpened(FolderIndex("bin"));
  EXPECT_EQ(dialog.Files(), std::vector<std::string>{"tomb4.exe"});
  EXPECT_EQ(dialog.PathText(), "");
  dialog.OnFolderOpened(dialog.CurrentFolderEntry() - 1);  // back through the path entry
  const int levels = FolderIndex("Levels");
  std::filesystem::remove_all(ToFsPath(temp.File("Levels")));
  dialog.OnFolderOpened(levels);
  EXPECT_EQ(FolderIndex("Levels"), -1);
  dialog.OnFolderOpened(-1);
  dialog.OnFolderOpened(static_cast<int>(dialog.Folders().size()));
  EXPECT_EQ(dialog.FolderPath(), temp.path());
  dialog.OnFileClicked(0);
  dialog.OnOk();
  EXPECT_TRUE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), temp.File("Tomb4_old.EXE"));
  EXPECT_EQ(view.closed, 1);
  EXPECT_TRUE(ui.messages.empty());
}

// In folder mode there is no file list and the path line shows the open folder. A new folder
// is refused without a name, with the name of an entry there, or with a name that leads out of
// the open folder; one the system cannot make is named with the system's reason. Cancel then
// gives no path.
TEST_F(Picker, FolderModeRefusesNewFoldersThatCannotBeMade) {
  Open(temp.path(), false);
  dialog.OnFileClicked(0);
  EXPECT_TRUE(dialog.Files().empty());
  EXPECT_EQ(dialog.PathText(), temp.path());
  const std::string invalid = "\" is not valid: type the name of one folder inside the open one";
  const std::string bad("bad\0name", 8);
  const std::pair<std::string, std::string> cases[] = {
      {"", "Before clicking this button you must type name for new folder"},
      {"bin", "Folder \"" + temp.File("bin") + "\" already exits"},
      {"   ", "Folder \"" + temp.path() + "/\" already exits"},  // blanks name the open folder
      {"../x", "Folder name \"../x" + invalid},
      {".", "Folder name \"." + invalid},
      {" .. ", "Folder name \".." + invalid},
      {bad, "Cannot create folder \"" + temp.File(bad) + "\"\r\nError mexage: " +
                ErrorText(std::make_error_code(std::errc::invalid_argument))}};
  for (const auto& [name, message] : cases) {
    ui.Clear();
    view.newFolderName = name;
    dialog.OnNewFolder();
    EXPECT_TRUE(ui.OnlyCritical(message)) << name << ": " << ::testing::PrintToString(ui.Texts());
  }
  EXPECT_FALSE(std::filesystem::exists(ToFsPath(temp.File("../x"))));
  EXPECT_EQ(dialog.FolderPath(), temp.path());
  dialog.OnCancel();
  EXPECT_FALSE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), "");
  EXPECT_EQ(view.closed, 1);
}

// A start that is no folder is replaced by the current folder, in PathDir too; a relative one
// is taken from the current folder, ".." after a link as the system takes it; with the current
// folder gone too, the first drive.
TEST_F(Picker, StartFolderFallsBackToTheCurrentFolder) {
  const TempDir other;
  environment.current = other.path();
  dialog.ImpostaValori("", true, "*");
  EXPECT_EQ(std::tuple(dialog.FolderPath(), dialog.PathDir()), std::tuple(other.path(), ""));
  for (const std::string& start : {temp.File("missing"), temp.File("tomb4.exe")}) {
    dialog.ImpostaValori(start, true, "*");
    EXPECT_EQ(std::tuple(dialog.FolderPath(), dialog.PathDir()),
              std::tuple(other.path(), other.path()))
        << start;
  }
  environment.current = temp.path();
  dialog.ImpostaValori("bin/../Levels", true, "*");
  EXPECT_EQ(dialog.FolderPath(), temp.File("Levels"));
  std::filesystem::create_directories(temp.File("real/sub"));
  std::filesystem::create_directory_symlink(temp.File("real/sub"), temp.File("L"));
  dialog.ImpostaValori(temp.File("L/.."), false, "*");
  EXPECT_EQ(dialog.FolderPath(), std::filesystem::canonical(temp.File("real")).string());
  EXPECT_TRUE(ui.messages.empty());
  environment.current = temp.File("gone");
  dialog.ImpostaValori(temp.File("also-gone"), true, "*");
  EXPECT_EQ(dialog.FolderPath(), "/");
}

// The drive of the open folder is selected; a drive opens on the current folder when that lies
// on it; one that is not ready is refused.
TEST_F(Picker, DrivesFollowTheOpenFolderAndOneNotReadyIsRefused) {
  environment.drives = {"/", temp.path(), temp.File("offline")};
  environment.notReady = {temp.File("offline")};
  environment.current = temp.File("bin");
  Open("/", false);
  EXPECT_EQ(dialog.DriveIndex(), 0);
  dialog.OnDriveChosen(1);
  EXPECT_EQ(std::tuple(dialog.FolderPath(), dialog.DriveIndex()), std::tuple(temp.File("bin"), 1));
  dialog.OnDriveChosen(2);
  EXPECT_TRUE(ui.OnlyCritical("Unit not ready"));
  EXPECT_EQ(dialog.FolderPath(), temp.File("bin"));
}

}  // namespace
}  // namespace varnock::testing
