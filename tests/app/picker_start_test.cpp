#include "app/picker_start.h"

#include <gtest/gtest.h>

#include "tests/app/app_fixture.h"

namespace varnock::testing {
namespace {

TEST(PickerStart, DrivesRootsAreGivenWhole) {
  struct Case {
    PathStyle style;
    const char* patchFolder;
    const char* start;
  };
  for (const Case& c :
       {Case{PathStyle::Windows, "C:", "C:\\"}, Case{PathStyle::Windows, "C:\\Games", "C:\\Games"},
        Case{PathStyle::Posix, "", "/"}, Case{PathStyle::Posix, "/srv", "/srv"}}) {
    EXPECT_EQ(PatchPickerStart(c.patchFolder, c.style), c.start) << c.patchFolder;
  }
  EXPECT_EQ(TargetPickerStart("C:\\tomb4.exe", "", "D:\\", PathStyle::Windows), "C:\\");
  EXPECT_EQ(TargetPickerStart("C:\\\\tomb4.exe", "", "D:\\", PathStyle::Windows), "C:\\");
  EXPECT_EQ(TargetPickerStart("/tomb4.exe", "/editor", "/home", PathStyle::Posix), "/");
}

// The pickers open at the patch folder and at the chosen executable's folder, else the level
// editor's, else the current folder.
TEST_F(AppFixture, PickersStartWhereTheUserIs) {
  editorInstalled = true;
  WritePatch(programFolder, "a.ptc", Patch("tomb4.exe", "LE_A"));
  const std::string more = dir.File("more");
  WritePatch(more, "b.ptc", Patch("tomb4.exe", "LE_B"));
  const std::string engine = dir.Write(JoinPath("games", "tomb4.exe"), Bytes(128, 0));
  ASSERT_TRUE(Presenter().Load());
  Presenter().ChangePatchFolderClicked();
  Presenter().ChangeTargetClicked();
  view.pickerAnswers.push_back(more);
  Presenter().ChangePatchFolderClicked();
  view.pickerAnswers.push_back(engine);
  Presenter().ChangeTargetClicked();
  Presenter().ChangePatchFolderClicked();
  Presenter().ChangeTargetClicked();
  editorInstalled = false;
  settings.values.clear();
  RecordingView bare;
  MainPresenter withoutEditor(bare, bare, ui, Environment());
  ASSERT_TRUE(withoutEditor.Load());
  withoutEditor.ChangeTargetClicked();

  std::vector<std::string> starts;
  for (const PickerCall& call : view.pickerCalls) {
    starts.push_back(call.startFolder);
  }
  EXPECT_EQ(starts, (std::vector<std::string>{programFolder, editorFolder, programFolder,
                                              editorFolder, more, dir.File("games")}));
  EXPECT_EQ(view.pickerCalls[0].caption, "Select folder with patches");
  EXPECT_EQ(view.pickerCalls[0].mask, "*");
  EXPECT_FALSE(view.pickerCalls[0].testFile);
  EXPECT_EQ(view.pickerCalls[1].caption, "Select tomb4 to patch");
  EXPECT_EQ(view.pickerCalls[1].mask, "tomb4*.exe");
  EXPECT_TRUE(view.pickerCalls[1].testFile);
  ASSERT_EQ(bare.pickerCalls.size(), 1u);
  EXPECT_EQ(bare.pickerCalls[0].startFolder, dir.path());
}

}  // namespace
}  // namespace varnock::testing
