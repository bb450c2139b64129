#include <gtest/gtest.h>

#include <algorithm>

#include "target/exe_version.h"
#include "tests/app/app_fixture.h"

namespace varnock::testing {
namespace {

// Choosing an executable sorts the list again: patches made for its version first.
class PatchListOrder : public AppFixture {
 protected:
  // An executable named tomb4.exe and its signature as the program computes it.
  std::string MakeEngine(const std::string& name = "tomb4.exe") {
    const std::string path = dir.Write(JoinPath("games", name), Bytes(128, 0));
    RecordingUi probe;
    signature = GetExeVersion(path, probe);
    EXPECT_TRUE(probe.messages.empty());
    return path;
  }

  std::string signature;
};

TEST_F(PatchListOrder, RanksZeroZeroTwoZeroOneGiveCEADB) {
  const std::string engine = MakeEngine();
  ASSERT_GE(signature.size(), 6u);
  const std::string sameStart = signature.substr(0, 6) + "_Other (1-Jan-2001  00:00)";
  WritePatch(programFolder, "A.ptc", Patch("tomb4.exe", "XX_A"));
  WritePatch(programFolder, "B.ptc", Patch("tomb4.exe", "XX_B"));
  WritePatch(programFolder, "C.ptc", Patch("tomb4.exe", signature, "made for it"));
  WritePatch(programFolder, "D.ptc", Patch("tomb4.exe", "XX_D"));
  WritePatch(programFolder, "E.ptc", Patch("tomb4.exe", sameStart));
  ASSERT_TRUE(Presenter().Load());
  EXPECT_EQ(view.items, (std::vector<std::string>{"A.ptc", "B.ptc", "C.ptc", "D.ptc", "E.ptc"}));

  view.pickerAnswers.push_back(engine);
  Presenter().ChangeTargetClicked();

  EXPECT_EQ(view.items, (std::vector<std::string>{"C.ptc", "E.ptc", "A.ptc", "D.ptc", "B.ptc"}));
  EXPECT_EQ(view.selected, 0);
  EXPECT_EQ(view.description, "made for it");
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), engine);
  EXPECT_EQ(view.Caption(MainLabel::TombVersionNow), signature);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PatchListOrder, PickingTheSameExecutableAgainChangesNothing) {
  const std::string engine = MakeEngine();
  WritePatch(programFolder, "A.ptc", Patch("tomb4.exe", "XX_A"));
  WritePatch(programFolder, "B.ptc", Patch("tomb4.exe", signature));
  ASSERT_TRUE(Presenter().Load());
  view.pickerAnswers.push_back(engine);
  Presenter().ChangeTargetClicked();
  ASSERT_EQ(view.items, (std::vector<std::string>{"B.ptc", "A.ptc"}));

  view.SelectPatchItem(1);
  Presenter().PatchClicked();
  const int added = view.itemsAdded;
  std::string upper = engine;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  view.pickerAnswers.push_back(upper);
  Presenter().ChangeTargetClicked();
  EXPECT_EQ(view.itemsAdded, added);
  EXPECT_EQ(view.selected, 1);
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), engine);
}

}  // namespace
}  // namespace varnock::testing
