#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <tuple>

#include "support/files.h"
#include "tests/app/app_fixture.h"

namespace varnock::testing {
namespace {

class WindowHandlers : public AppFixture {
 protected:
  // One patch for tomb4.exe, loaded, with the messages of start-up cleared.
  void SetUp() override {
    WritePatch(programFolder, "four.ptc", Patch("LE_Y", "changes four bytes"));
    ASSERT_TRUE(Presenter().Load());
    ui.Clear();
  }
};

// Apply and remove need a patch and an executable; a click with nothing selected does nothing;
// printing prints the description in Courier at 10 points, or tells why it could not.
TEST_F(WindowHandlers, RequestsWithoutPatchOrExecutableAreRefusedAndPrintingTellsItsFailure) {
  for (const auto& [selected, remove, message] :
       {std::tuple{0, false, "You must set path of tomb4 program to apply patch"},
        std::tuple{0, true, "You must set path of tomb4 program to remove patch"},
        std::tuple{-1, false, "No patch selected"}, std::tuple{-1, true, "No patch selected"}}) {
    ui.Clear();
    view.SelectPatchItem(selected);
    remove ? Presenter().RemoveClicked() : Presenter().ApplyClicked();
    EXPECT_TRUE(ui.OnlyPlain(message)) << message;
  }
  ui.Clear();
  Presenter().PatchClicked();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(view.pickerCalls.empty());

  view.SelectPatchItem(0);
  view.printError = "no printer is installed";
  Presenter().PrintClicked();
  EXPECT_EQ(view.printed, std::vector<std::string>{"changes four bytes in Courier 10"});
  EXPECT_TRUE(ui.OnlyPlain(
      "ERROR trying to print the description\r\nError mexage: no printer is installed"));
}

// A folder without patches is refused, another one is listed; a picker that fails is reported.
// The picker starts in the patch folder.
TEST_F(WindowHandlers, ChangingThePatchFolder) {
  dir.WriteText(JoinPath("empty", "notes.txt"), "no patch here");
  const std::string other = dir.File("other");
  WritePatch(other, "x.ptc", Patch("LE_X", "from the other folder", Dynamic));

  view.pickerAnswers = {dir.File("empty"), other};
  Presenter().ChangePatchFolderClicked();
  EXPECT_TRUE(ui.OnlyPlain("WARNING: in folder you selected there is NO patch"));
  EXPECT_EQ(view.items, std::vector<std::string>{"four.ptc"});
  EXPECT_EQ(view.captions[MainLabel::DirSrc], programFolder);

  ui.Clear();
  Presenter().ChangePatchFolderClicked();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(view.items, std::vector<std::string>{"x.ptc"});
  EXPECT_EQ(Presenter().State().PatchFolder, other);
  EXPECT_EQ(view.description, "from the other folder");

  view.pickerAnswers = {""};
  Presenter().ChangePatchFolderClicked();
  EXPECT_TRUE(
      ui.OnlyPlain("ERROR trying to change the patch folder\r\nError mexage: the folder vanished"));
  EXPECT_EQ(view.items, std::vector<std::string>{"x.ptc"});
  const std::string start = "Select folder with patches: ";
  EXPECT_EQ(view.pickerCalls, (std::vector<std::string>{start + programFolder,
                                                        start + programFolder, start + other}));
}

using StatusLine = AppFixture;

// Apply runs on the chosen executable (remove too: the windows' flows run both); the line follows
// the patch, the executable and the file as they change through the window.
TEST_F(StatusLine, FollowsThePatchTheExecutableAndTheFile) {
  PatchRecord four = Patch("LE_Y");
  four.ZoneCount = 1;
  four.Zones = {{4, 4, ToBytes("ABCD"), ToBytes("WXYZ")}};
  WritePatch(programFolder, "a.ptc", four);
  four.Zones = {{6, 2, ToBytes("CD"), ToBytes("QQ")}};  // shares two bytes with a.ptc
  WritePatch(programFolder, "b.ptc", four);
  dir.WriteText(JoinPath("program", "c.ptc"), "broken");
  const std::string engine = dir.Write(JoinPath("games", "tomb4.exe"), ToBytes("MZ..ABCD...."));
  ASSERT_TRUE(Presenter().Load());
  EXPECT_EQ(view.statusLine, "") << "no executable chosen yet";

  view.pickerAnswers = {engine};
  Presenter().ChangeTargetClicked();
  EXPECT_EQ(view.statusLine, "Status: not-applied \u2014 conflicts with b.ptc");
  ui.Clear();
  Presenter().ApplyClicked();
  // The broken c.ptc of the folder told the user when the list was built, never again.
  EXPECT_TRUE(ui.OnlyPlain("Ok: applying patch operation has been performed"));
  EXPECT_EQ(ReadBytes(engine), ToBytes("MZ..WXYZ...."));
  EXPECT_EQ(view.statusLine, "Status: applied \u2014 conflicts with b.ptc");
  EXPECT_EQ(Presenter().StatusLine(), view.statusLine);
  view.SelectPatchItem(1);
  Presenter().PatchClicked();
  EXPECT_EQ(view.statusLine, "Status: does-not-fit \u2014 conflicts with a.ptc");
  std::string upper = engine;  // the same executable in other letter case changes nothing
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  view.pickerAnswers = {upper};
  Presenter().ChangeTargetClicked();
  EXPECT_EQ(view.SelectedPatchText(), "b.ptc");
  EXPECT_EQ(view.captions[MainLabel::NomeExe], engine);
}

}  // namespace
}  // namespace varnock::testing
