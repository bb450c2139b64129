// The picker over POSIX paths, a "/" root and mount points; the Windows path rules have
// tests of their own.

#include <gtest/gtest.h>

#include <filesystem>

#include "picker/picker_paths.h"
#include "support/files.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"
#include "tests/picker/picker_fakes.h"

namespace varnock::testing {
namespace {

class PickerFileMode : public PickerTest<TestDrivesEnvironment> {
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

  void Open(const std::string& folder) {
    dialog.SetCaption("Select tomb4 to patch");
    PickerTest::Open(folder, true, "tomb4*.exe");
  }

  TempDir temp;
};

TEST_F(PickerFileMode, ShowsTheStartFolderItsPathFromTheRootAndItsMatchingFiles) {
  Open(temp.path());
  EXPECT_EQ(view.caption, "Select tomb4 to patch");
  EXPECT_FALSE(view.folderMode);
  EXPECT_EQ(view.files, (std::vector<std::string>{"tomb4.exe", "Tomb4_old.EXE"}));
  EXPECT_EQ(view.pathText, "");
  EXPECT_FALSE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), temp.path());

  // From "/" down to the open folder, then its subfolders one level deeper, hidden ones left
  // out.
  ASSERT_GE(view.current, 1);
  EXPECT_EQ(view.folders.front(), (FolderEntry{"/", "/", 0, true}));
  const FolderEntry& open = view.folders[view.current];
  EXPECT_EQ(open.path, temp.path());
  EXPECT_TRUE(open.open);
  const std::vector<FolderEntry> below(view.folders.begin() + view.current + 1, view.folders.end());
  EXPECT_EQ(below,
            (std::vector<FolderEntry>{{"bin", temp.File("bin"), open.depth + 1, false},
                                      {"Levels", temp.File("Levels"), open.depth + 1, false}}));
  for (int i = 1; i <= view.current; ++i) {
    EXPECT_EQ(view.folders[i].depth, i);
    EXPECT_EQ(view.folders[i].path,
              JoinChild(view.folders[i - 1].path, view.folders[i].name, PathStyle::Posix));
  }
}

// OK needs a clicked file that still exists; clicking nothing empties the path line; opening a
// folder relists it and clears the choice, and one that vanished leaves the list.
TEST_F(PickerFileMode, OkNeedsAnExistingClickedFile) {
  Open(temp.path());
  dialog.OnOk();  // nothing clicked yet
  dialog.OnFileClicked(view.FileIndex("tomb4.exe"));
  EXPECT_EQ(view.pathText, temp.File("tomb4.exe"));
  std::filesystem::remove(ToFsPath(temp.File("tomb4.exe")));
  dialog.OnOk();  // the file has gone meanwhile
  EXPECT_FALSE(dialog.ExitValue());
  EXPECT_EQ(view.closed, 0);
  dialog.OnFileClicked(-1);
  EXPECT_EQ(view.pathText, "");

  dialog.OnFileClicked(0);
  dialog.OnFolderOpened(view.FolderIndex("bin"));
  EXPECT_EQ(view.files, std::vector<std::string>{"tomb4.exe"});
  EXPECT_EQ(view.pathText, "");
  EXPECT_EQ(view.folders[view.current].path, temp.File("bin"));
  dialog.OnFolderOpened(view.current - 1);  // back up through the parent's path entry
  EXPECT_EQ(dialog.FolderPath(), temp.path());
  const int levels = view.FolderIndex("Levels");
  std::filesystem::remove_all(ToFsPath(temp.File("Levels")));
  dialog.OnFolderOpened(levels);
  EXPECT_EQ(dialog.FolderPath(), temp.path());
  EXPECT_EQ(view.FolderIndex("Levels"), -1);
  for (const int outside : {-1, static_cast<int>(view.folders.size())}) {
    dialog.OnFolderOpened(outside);  // no such entry: nothing happens
  }
  EXPECT_EQ(dialog.FolderPath(), temp.path());

  dialog.OnFileClicked(view.FileIndex("Tomb4_old.EXE"));
  dialog.OnOk();
  EXPECT_TRUE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), temp.File("Tomb4_old.EXE"));
  EXPECT_EQ(view.closed, 1);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PickerFileMode, AFileAtTheRootIsJoinedWithOneSeparator) {
  TestDrivesEnvironment rootOnly;
  rootOnly.current = "/";
  Dialog_GetFileODir atRoot(rootOnly, ui, host);
  atRoot.ImpostaValori("/", true, "*");
  atRoot.AttachView(view);
  ASSERT_EQ(view.current, 0);
  const std::vector<std::string> names = view.files;
  if (names.empty()) {
    GTEST_SKIP() << "no file in /";
  }
  atRoot.OnFileClicked(0);
  EXPECT_EQ(view.pathText, "/" + names[0]);
}

TEST_F(PickerFileMode, StartFolderFallsBackToTheCurrentFolder) {
  const TempDir other;
  environment.current = other.path();
  dialog.ImpostaValori("", true, "*");
  EXPECT_EQ(dialog.FolderPath(), other.path());
  EXPECT_EQ(dialog.PathDir(), "");
  // A start that is no folder is replaced by the current folder, in PathDir too.
  for (const std::string& start : {temp.File("missing"), temp.File("tomb4.exe")}) {
    dialog.ImpostaValori(start, true, "*");
    EXPECT_EQ(dialog.FolderPath(), other.path()) << start;
    EXPECT_EQ(dialog.PathDir(), other.path()) << start;
  }
  // A relative start folder is taken from the current folder.
  environment.current = temp.path();
  dialog.ImpostaValori("bin/../Levels", true, "*");
  EXPECT_EQ(dialog.FolderPath(), temp.File("Levels"));
  EXPECT_TRUE(ui.messages.empty());
  // With the current folder gone too, the first drive.
  environment.current = temp.File("gone");
  dialog.ImpostaValori(temp.File("also-gone"), true, "*");
  EXPECT_EQ(dialog.FolderPath(), "/");
}

// The window runs modal; a double click chooses the file; the values outlive the window;
// closing by the frame's close box runs no handler.
TEST_F(PickerFileMode, ShowModalRunsTheWindowAndTheValuesOutliveIt) {
  dialog.Unload();  // nothing shown: nothing to close
  dialog.ImpostaValori(temp.path(), true, "tomb4*.exe");
  host.script = {[](Dialog_GetFileODir& d, RecordingPickerView& v) {
                   d.OnFileDoubleClicked(v.FileIndex("tomb4.exe"));
                 },
                 [](Dialog_GetFileODir& d, RecordingPickerView&) { d.OnCancel(); }};
  dialog.ShowModal();
  EXPECT_FALSE(dialog.IsShown());
  EXPECT_TRUE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), temp.File("tomb4.exe"));

  dialog.ImpostaValori(temp.path(), true, "tomb4*.exe");
  host.script = {[](Dialog_GetFileODir& d, RecordingPickerView&) { d.Unload(); }};
  dialog.ShowModal();
  EXPECT_EQ(host.lastView.closed, 1);
  EXPECT_FALSE(dialog.ExitValue());
  EXPECT_EQ(dialog.PathDir(), temp.path());
  EXPECT_EQ(host.runs, 2);
}

}  // namespace
}  // namespace varnock::testing
