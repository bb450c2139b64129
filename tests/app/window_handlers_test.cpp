#include <gtest/gtest.h>

#include "support/files.h"
#include "tests/app/app_fixture.h"

namespace varnock::testing {
namespace {

class WindowHandlers : public AppFixture {
 protected:
  // One patch that turns "ABCD" at offset 4 of a tomb4.exe into "WXYZ".
  void SetUpOnePatch() {
    PatchRecord record = Patch("tomb4.exe", "LE_Y", "changes four bytes");
    record.ZoneCount = 1;
    record.Zones = {{4, 4, ToBytes("ABCD"), ToBytes("WXYZ")}};
    WritePatch(programFolder, "four.ptc", record);
    engine = dir.Write(JoinPath("games", "tomb4.exe"), ToBytes("MZ..ABCD...."));
    ASSERT_TRUE(Presenter().Load());
    ui.Clear();
  }

  std::string engine;
};

TEST_F(WindowHandlers, ApplyAndRemoveRunTheOperationOnTheChosenExecutable) {
  SetUpOnePatch();
  view.pickerAnswers.push_back(engine);
  Presenter().ChangeTargetClicked();
  ui.Clear();

  Presenter().ApplyClicked();
  EXPECT_TRUE(ui.OnlyPlain("Ok: applying patch operation has been performed"));
  EXPECT_EQ(ReadBytes(engine), ToBytes("MZ..WXYZ...."));

  ui.Clear();
  Presenter().RemoveClicked();
  EXPECT_TRUE(ui.OnlyPlain("Ok: removing patch operation has been performed"));
  EXPECT_EQ(ReadBytes(engine), ToBytes("MZ..ABCD...."));
}

TEST_F(WindowHandlers, RequestsWithoutPatchOrExecutableAreRefusedPlainly) {
  SetUpOnePatch();
  Presenter().ApplyClicked();
  EXPECT_TRUE(ui.OnlyPlain("You must set path of tomb4 program to apply patch"));
  ui.Clear();
  Presenter().RemoveClicked();
  EXPECT_TRUE(ui.OnlyPlain("You must set path of tomb4 program to remove patch"));
  EXPECT_TRUE(view.pickerCalls.empty());

  view.SelectPatchItem(-1);
  ui.Clear();
  Presenter().ApplyClicked();
  EXPECT_TRUE(ui.OnlyPlain("No patch selected"));
  ui.Clear();
  Presenter().RemoveClicked();
  EXPECT_TRUE(ui.OnlyPlain("No patch selected"));

  // A click with nothing selected does nothing at all.
  ui.Clear();
  Presenter().PatchClicked();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ReadBytes(engine), ToBytes("MZ..ABCD...."));
}

TEST_F(WindowHandlers, ChangingThePatchFolder) {
  SetUpOnePatch();
  const std::string empty = dir.File("empty");
  dir.WriteText(JoinPath("empty", "notes.txt"), "no patch here");
  const std::string other = dir.File("other");
  WritePatch(other, "x.ptc", Patch("tomb4.exe", "LE_X", "from the other folder", Dynamic));

  Presenter().ChangePatchFolderClicked();  // cancelled
  ASSERT_EQ(view.pickerCalls.size(), 1u);
  EXPECT_EQ(view.pickerCalls[0].caption, "Select folder with patches");
  EXPECT_EQ(view.pickerCalls[0].mask, "*");
  EXPECT_FALSE(view.pickerCalls[0].testFile);
  EXPECT_EQ(view.pickerCalls[0].startFolder, programFolder) << "the patch folder";
  EXPECT_TRUE(ui.messages.empty());

  view.pickerAnswers.push_back(empty);
  Presenter().ChangePatchFolderClicked();
  EXPECT_TRUE(ui.OnlyPlain("WARNING: in folder you selected there is NO patch"));
  EXPECT_EQ(view.items, std::vector<std::string>{"four.ptc"});
  EXPECT_EQ(Presenter().State().PatchFolder, programFolder);
  EXPECT_EQ(view.Caption(MainLabel::DirSrc), programFolder);

  ui.Clear();
  view.pickerAnswers.push_back(other);
  Presenter().ChangePatchFolderClicked();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(view.items, std::vector<std::string>{"x.ptc"});
  EXPECT_EQ(Presenter().State().PatchFolder, other);
  EXPECT_EQ(Presenter().State().PatchCount, 1);
  EXPECT_EQ(view.Caption(MainLabel::DirSrc), other);
  EXPECT_EQ(view.description, "from the other folder");
  EXPECT_TRUE(view.dynamicVisible);
}

TEST_F(WindowHandlers, ChoosingAPatchKeepsOrReplacesTheTarget) {
  editorInstalled = true;
  const std::string converter = dir.Write(JoinPath("editor", "tom2pc.exe"), Bytes(16, 0));
  WritePatch(programFolder, "a.ptc", Patch("tomb4.exe", "LE_Y", "engine patch"));
  WritePatch(programFolder, "b.ptc", Patch("tom2pc.exe", "TP_Standard", "converter patch"));
  const std::string foreign = dir.Write(JoinPath("tomb4", "tom2pc.exe"), Bytes(16, 0));
  ASSERT_TRUE(Presenter().Load());

  // A path that holds "tomb4" anywhere fits a tomb4 patch.
  view.pickerAnswers.push_back(foreign);
  Presenter().ChangeTargetClicked();
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), foreign);

  // A tomb4 executable does not fit a tom2pc patch: the editor's tom2pc.exe replaces it.
  view.pickerAnswers.push_back(dir.Write(JoinPath("games", "tomb4.exe"), Bytes(16, 0)));
  Presenter().ChangeTargetClicked();
  view.SelectPatchItem(1);
  Presenter().PatchClicked();
  EXPECT_EQ(Presenter().State().TargetName, "tom2pc");
  EXPECT_EQ(view.Caption(MainLabel::ApplyPatchTo), "Apply patch to following tom2pc program");
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), converter);
  EXPECT_EQ(view.description, "converter patch");
}

TEST_F(WindowHandlers, APatchThatNoLongerLoadsEmptiesItsFields) {
  WritePatch(programFolder, "a.ptc", Patch("tomb4.exe", "LE_Y", "first", Dynamic));
  WritePatch(programFolder, "b.ptc", Patch("tom2pc.exe", "TP_Standard", "second"));
  ASSERT_TRUE(Presenter().Load());
  ASSERT_TRUE(RemoveFile(InProgram("b.ptc")));
  ui.Clear();

  view.SelectPatchItem(1);
  Presenter().PatchClicked();
  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + InProgram("b.ptc")));
  EXPECT_EQ(view.description, "");
  EXPECT_FALSE(view.dynamicVisible);
  EXPECT_EQ(view.Caption(MainLabel::TombVersion), "");
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), "");
  EXPECT_EQ(Presenter().State().TargetName, "tomb4");
}

TEST_F(WindowHandlers, PrintingTheDescription) {
  SetUpOnePatch();
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

TEST_F(WindowHandlers, AnUnexpectedFailureEndsInOnePlainMessage) {
  SetUpOnePatch();
  view.pickerFails = true;
  Presenter().ChangePatchFolderClicked();
  EXPECT_TRUE(
      ui.OnlyPlain("ERROR trying to change the patch folder\r\nError mexage: the folder vanished"));
  EXPECT_EQ(view.items, std::vector<std::string>{"four.ptc"});
}

}  // namespace
}  // namespace varnock::testing
