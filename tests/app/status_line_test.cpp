#include <gtest/gtest.h>

#include "support/files.h"
#include "tests/app/app_fixture.h"

namespace varnock::testing {
namespace {

using StatusLine = AppFixture;

// Apply and remove run on the chosen executable; the line follows the patch, the executable and the
// file as they change through the window.
TEST_F(StatusLine, FollowsThePatchTheExecutableAndTheFile) {
  PatchRecord four = Patch("tomb4.exe", "LE_Y", "changes four bytes");
  four.ZoneCount = 1;
  four.Zones = {{4, 4, ToBytes("ABCD"), ToBytes("WXYZ")}};
  WritePatch(programFolder, "a.ptc", four);
  PatchRecord two = four;
  two.Zones = {{6, 2, ToBytes("CD"), ToBytes("QQ")}};  // shares two bytes with a.ptc
  WritePatch(programFolder, "b.ptc", two);
  WritePatch(programFolder, "c.ptc", Patch("tom2pc.exe", "TP_Standard", "for the converter"));
  dir.WriteText(JoinPath("program", "d.ptc"), "broken");
  const std::string engine = dir.Write(JoinPath("games", "tomb4.exe"), ToBytes("MZ..ABCD...."));
  ASSERT_TRUE(Presenter().Load());
  EXPECT_EQ(view.statusLine, "") << "no executable chosen yet";

  view.pickerAnswers.push_back(engine);
  Presenter().ChangeTargetClicked();
  EXPECT_EQ(view.SelectedPatchText(), "a.ptc");
  EXPECT_EQ(view.statusLine, "Status: not-applied \u2014 conflicts with b.ptc");

  ui.Clear();
  Presenter().ApplyClicked();
  // The broken d.ptc of the folder told the user when the list was built, never again.
  EXPECT_TRUE(ui.OnlyPlain("Ok: applying patch operation has been performed"));
  EXPECT_EQ(ReadBytes(engine), ToBytes("MZ..WXYZ...."));
  EXPECT_EQ(view.statusLine, "Status: applied \u2014 conflicts with b.ptc");
  EXPECT_EQ(Presenter().StatusLine(), view.statusLine);
  ui.Clear();
  Presenter().RemoveClicked();
  EXPECT_TRUE(ui.OnlyPlain("Ok: removing patch operation has been performed"));
  EXPECT_EQ(ReadBytes(engine), ToBytes("MZ..ABCD...."));
  Presenter().ApplyClicked();

  view.SelectPatchItem(1);
  Presenter().PatchClicked();
  EXPECT_EQ(view.statusLine, "Status: does-not-fit \u2014 conflicts with a.ptc");

  view.SelectPatchItem(2);  // the converter's patch empties the executable: nothing to tell
  Presenter().PatchClicked();
  EXPECT_EQ(view.statusLine, "");
}

}  // namespace
}  // namespace varnock::testing
