#include <gtest/gtest.h>

#include "support/files.h"
#include "tests/app/app_fixture.h"

namespace varnock::testing {
namespace {

class WindowHandlers : public AppFixture {
 protected:
  // One patch for tomb4.exe, loaded, with the messages of start-up cleared.
  void SetUp() override {
    WritePatch(programFolder, "four.ptc", Patch("tomb4.exe", "LE_Y", "changes four bytes"));
    ASSERT_TRUE(Presenter().Load());
    ui.Clear();
  }
};

TEST_F(WindowHandlers, RequestsWithoutPatchOrExecutableAreRefusedPlainly) {
  struct Case {
    int selected;
    bool remove;
    const char* message;
  };
  for (const Case& c :
       {Case{0, false, "You must set path of tomb4 program to apply patch"},
        Case{0, true, "You must set path of tomb4 program to remove patch"},
        Case{-1, false, "No patch selected"}, Case{-1, true, "No patch selected"}}) {
    ui.Clear();
    view.SelectPatchItem(c.selected);
    c.remove ? Presenter().RemoveClicked() : Presenter().ApplyClicked();
    EXPECT_TRUE(ui.OnlyPlain(c.message)) << c.message;
  }
  ui.Clear();
  Presenter().PatchClicked();  // a click with nothing selected does nothing at all
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(view.pickerCalls.empty());
}

TEST_F(WindowHandlers, ChangingThePatchFolder) {
  const std::string empty = dir.File("empty");
  dir.WriteText(JoinPath("empty", "notes.txt"), "no patch here");
  const std::string other = dir.File("other");
  WritePatch(other, "x.ptc", Patch("tomb4.exe", "LE_X", "from the other folder", Dynamic));

  view.pickerAnswers = {empty, other};
  Presenter().ChangePatchFolderClicked();
  EXPECT_TRUE(ui.OnlyPlain("WARNING: in folder you selected there is NO patch"));
  EXPECT_EQ(view.items, std::vector<std::string>{"four.ptc"});
  EXPECT_EQ(view.Caption(MainLabel::DirSrc), programFolder);

  ui.Clear();
  Presenter().ChangePatchFolderClicked();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(view.items, std::vector<std::string>{"x.ptc"});
  EXPECT_EQ(Presenter().State().PatchFolder, other);
  EXPECT_EQ(Presenter().State().PatchCount, 1);
  EXPECT_EQ(view.description, "from the other folder");

  view.pickerFails = true;
  Presenter().ChangePatchFolderClicked();
  EXPECT_TRUE(
      ui.OnlyPlain("ERROR trying to change the patch folder\r\nError mexage: the folder vanished"));
  EXPECT_EQ(view.items, std::vector<std::string>{"x.ptc"});
}

// A path that holds "tomb4" anywhere fits a tomb4 patch; a tomb4 executable does not fit a
// tom2pc patch, and the editor's tom2pc.exe replaces it; a patch gone from the disk empties its
// fields.
TEST_F(WindowHandlers, ChoosingAPatchKeepsOrReplacesTheTarget) {
  editorInstalled = true;
  const std::string converter = dir.Write(JoinPath("editor", "tom2pc.exe"), Bytes(16, 0));
  WritePatch(programFolder, "p.ptc",
             Patch("tom2pc.exe", "TP_Standard", "converter patch", Dynamic));
  WritePatch(programFolder, "q.ptc", Patch("tomb4.exe", "LE_Y", "gone"));
  const std::string foreign = dir.Write(JoinPath("tomb4", "tom2pc.exe"), Bytes(16, 0));
  presenter.reset();
  ASSERT_TRUE(Presenter().Load());

  view.pickerAnswers = {foreign, dir.Write(JoinPath("games", "tomb4.exe"), Bytes(16, 0))};
  Presenter().ChangeTargetClicked();
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), foreign);
  Presenter().ChangeTargetClicked();
  view.SelectPatchItem(1);
  Presenter().PatchClicked();
  EXPECT_EQ(Presenter().State().TargetName, "tom2pc");
  EXPECT_EQ(view.Caption(MainLabel::ApplyPatchTo), "Apply patch to following tom2pc program");
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), converter);
  EXPECT_EQ(view.description, "converter patch");
  EXPECT_TRUE(view.dynamicVisible);

  ASSERT_TRUE(RemoveFile(InProgram("q.ptc")));
  ui.Clear();
  view.SelectPatchItem(2);
  Presenter().PatchClicked();
  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + InProgram("q.ptc")));
  EXPECT_EQ(view.description, "");
  EXPECT_FALSE(view.dynamicVisible);
  EXPECT_EQ(view.Caption(MainLabel::TombVersion), "");
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), "");
  EXPECT_EQ(Presenter().State().TargetName, "tom2pc");
}

TEST_F(WindowHandlers, PrintingTheDescription) {
  Presenter().PrintClicked();
  ASSERT_EQ(view.printCalls.size(), 1u);
  EXPECT_EQ(view.printCalls[0].text, "changes four bytes");
  EXPECT_EQ(view.printCalls[0].face, "Courier");
  EXPECT_EQ(view.printCalls[0].points, 10);
  EXPECT_TRUE(ui.messages.empty());
  view.printError = "no printer is installed";
  Presenter().PrintClicked();
  EXPECT_TRUE(ui.OnlyPlain(
      "ERROR trying to print the description\r\nError mexage: no printer is installed"));
}

}  // namespace
}  // namespace varnock::testing
