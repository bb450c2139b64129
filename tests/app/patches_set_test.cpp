#include <gtest/gtest.h>

#include "sets/patch_set.h"
#include "support/files.h"
#include "support/sha256.h"
#include "tests/app/patches_fixture.h"

namespace varnock::testing {
namespace {

// Four patches, one with an argument; a set over them is written as the test needs it.
class PatchesSetTest : public PatchesPresenterTest {
 protected:
  PatchesSetTest() {
    Write("a.ptc", 100, {1, 2});
    Write("Arg#5#.ptc", 150, {0xEE});
    Write("b.ptc", 200, {7, 8});
    Write("c.ptc", 300, {3, 4});
  }
  SetPatch Named(const std::string& name, std::optional<std::string> argument = {}) const {
    const std::string sum = FileSha256Text(JoinPath(folder, name));
    return {name, sum.empty() ? std::string(64, 'a') : sum, std::move(argument), 0};
  }
  // The set file `name` holding `patches`, for the executable's program and build.
  std::string WriteSet(const std::string& name, const std::vector<SetPatch>& patches,
                       const std::string& program = "tomb4.exe") {
    const PatchSet set{program, presenter->Status().exeVersion, std::string(64, '0'), "", patches};
    const std::string text = PatchSetText(set);
    return dir.Write(name, Bytes(text.begin(), text.end()));
  }
};

// Opening a set marks the rows as `set apply` would change them and says in one box what
// differs; Apply changes then gives the set's values in its order, asking nothing. A set that
// cannot be read, or one for another program, changes no mark.
TEST_F(PatchesSetTest, OpenedSetMarksTheRowsAndApplyAsksNothing) {
  Bytes start = image;
  Put(start, 150, {5});  // Arg applied with 5
  Put(start, 200, {7, 8});
  const struct {
    std::vector<SetPatch> patches;
    std::string program;
    std::string corrupt;  // a line put at the end of the set file
    std::vector<std::string> rows;
    std::string message;  // what the one box says, in part
    Bytes result;         // the executable after Apply changes
  } cases[] = {
      {{Named("c.ptc"), Named("a.ptc"), Named("Arg#5#.ptc", "9")},
       "tomb4.exe",
       "",
       {"+a.ptc not applied", "+Arg#5#.ptc applied 5", "b.ptc applied", "+c.ptc not applied"},
       "Arg#5#.ptc: applied with 5, the set gives 9\nb.ptc: applied, not in the set",
       {}},
      {{Named("Arg#5#.ptc", "5.0"), Named("b.ptc")},
       "TOMB4.EXE",
       "",
       {"a.ptc not applied", "+Arg#5#.ptc applied 5", "+b.ptc applied", "c.ptc not applied"},
       "Set s.ptcset: 2 patches.\nThe executable holds it already.",
       start},
      {{Named("z.ptc"), Named("a.ptc")},
       "tomb4.exe",
       "",
       {"+a.ptc not applied", "Arg#5#.ptc applied 5", "b.ptc applied", "c.ptc not applied"},
       "z.ptc is missing from",
       {}},
      {{Named("a.ptc")},
       "tomb3.exe",
       "",
       {"a.ptc not applied", "+Arg#5#.ptc applied 5", "+b.ptc applied", "c.ptc not applied"},
       "The set is for tomb3.exe, the executable is tomb4.exe: no mark is changed.",
       start},
      {{Named("a.ptc")},
       "tomb4.exe",
       "x.ptc 12\n",
       {"a.ptc not applied", "+Arg#5#.ptc applied 5", "+b.ptc applied", "c.ptc not applied"},
       "The set cannot be opened: ",
       start},
  };
  Bytes expected = start;
  Put(expected, 100, {1, 2});
  Put(expected, 150, {9});
  Put(expected, 200, Slice(200, 2));
  Put(expected, 300, {3, 4});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    dir.Write("tomb4.exe", start);
    ui.Clear();
    Open();
    std::string path = WriteSet("s.ptcset", c.patches, c.program);
    Bytes text = ReadBytes(path);
    text.insert(text.end(), c.corrupt.begin(), c.corrupt.end());
    dir.Write("s.ptcset", text);
    view.setPaths = {path};
    presenter->OpenSetClicked();
    EXPECT_EQ(Rows(), c.rows);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(c.message), std::string::npos) << ui.messages[0].text;
    ui.Clear();
    presenter->ApplyChangesClicked();
    EXPECT_TRUE(ui.questions.empty());
    if (c.patches.size() == 3) {
      EXPECT_EQ(ReadBytes(exe), expected);
    } else if (!c.result.empty()) {
      EXPECT_EQ(ReadBytes(exe), c.result);
    }
  }
}

// A set opened after another, or after marks the user set, marks the rows from the statuses
// alone: nothing of the first stays.
TEST_F(PatchesSetTest, ASecondSetReplacesTheMarksOfTheFirst) {
  Open();
  presenter->MarkToggled(3);  // c.ptc, by the user
  view.setPaths = {WriteSet("one.ptcset", {Named("a.ptc"), Named("Arg#5#.ptc", "9")}),
                   WriteSet("two.ptcset", {Named("b.ptc")})};
  presenter->OpenSetClicked();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"+a.ptc not applied", "+Arg#5#.ptc not applied",
                                              "b.ptc not applied", "c.ptc not applied"}));
  presenter->OpenSetClicked();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"a.ptc not applied", "Arg#5#.ptc not applied",
                                              "+b.ptc not applied", "c.ptc not applied"}));
  presenter->ApplyChangesClicked();
  EXPECT_TRUE(ui.questions.empty());  // b.ptc takes no argument, and Arg is not applied
  Bytes expected = image;
  Put(expected, 200, {7, 8});
  EXPECT_EQ(ReadBytes(exe), expected);
}

// A set opens only on known statuses, and nothing is saved or opened without an executable
// (a set given with the window included) or when a dialog is cancelled.
TEST_F(PatchesSetTest, NothingWithoutStatusesOrAPath) {
  Open(nullptr, nullptr, false);
  view.setPaths = {WriteSet("s.ptcset", {Named("a.ptc")})};
  presenter->OpenSetClicked();
  EXPECT_TRUE(ui.OnlyPlain("No set can be opened: the statuses are still being computed."));
  Drain();
  ui.Clear();
  presenter->SaveSetClicked();  // cancelled
  presenter->OpenSetClicked();
  EXPECT_EQ(view.dialogs, (std::vector<std::string>{"open in " + folder, "save in " + folder,
                                                    "open in " + folder}));
  EXPECT_TRUE(ui.messages.empty());
  exe.clear();
  Open(nullptr, nullptr, false);
  presenter->SaveSetClicked();
  EXPECT_TRUE(
      ui.OnlyPlain("No set can be saved: no program to patch is chosen in the main window."));
  ui.Clear();
  setPath = dir.File("s.ptcset");  // a set given with the window is refused as well
  Open(nullptr, nullptr, false);
  EXPECT_TRUE(
      ui.OnlyPlain("No set can be opened: no program to patch is chosen in the main window."));
}

}  // namespace
}  // namespace varnock::testing
