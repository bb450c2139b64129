#include <gtest/gtest.h>

#include <system_error>

#include "app/remembered_choices.h"
#include "support/files.h"
#include "tests/app/app_fixture.h"

namespace varnock::testing {
namespace {

// Files opened with the program or dropped onto its window.
class OpenedFiles : public AppFixture {
 protected:
  OpenedFiles() {
    WritePatch(programFolder, "a.ptc", Patch("tomb4.exe", "LE_A", "program a"));
    more = dir.File("more");
    WritePatch(more, "c.ptc", Patch("tomb4.exe", "LE_C", "more c"));
    WritePatch(more, "D.PTC", Patch("tomb4.exe", "LE_D", "more d", Dynamic));
    engine = dir.Write(JoinPath("games", "tomb4.exe"), Bytes(128, 0));
  }

  std::string more;
  std::string engine;
};

TEST_F(OpenedFiles, StartUpOpensThePatchInItsFolderAndChoosesTheExecutable) {
  // The patch relative to the current folder, the executable after it on the command line.
  openedFiles = {JoinPath("more", "D.PTC"), engine};
  ASSERT_TRUE(Presenter().Load());
  EXPECT_EQ(Presenter().State().PatchFolder, more);
  EXPECT_EQ(view.items, (std::vector<std::string>{"c.ptc", "D.PTC"}));
  EXPECT_EQ(view.SelectedPatchText(), "D.PTC");
  EXPECT_EQ(view.description, "more d");
  EXPECT_TRUE(view.dynamicVisible);
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), engine);
  EXPECT_NE(view.Caption(MainLabel::TombVersionNow), "");
  EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(settings.values[kRememberedPatchFolder], more);
  EXPECT_EQ(settings.values[kRememberedTarget], engine);
}

// A missing file is named and the rest still opens (a folder as the patch folder); a dropped
// patch opens its folder and is chosen.
TEST_F(OpenedFiles, AMissingFileIsNamedAndADroppedPatchIsChosen) {
  openedFiles = {"gone.ptc", more};
  ASSERT_TRUE(Presenter().Load());
  EXPECT_TRUE(ui.OnlyPlain("ERROR trying to open gone.ptc\r\nError mexage: " +
                           ErrorText(std::make_error_code(std::errc::no_such_file_or_directory))));
  EXPECT_EQ(view.Caption(MainLabel::DirSrc), more);
  EXPECT_EQ(view.SelectedPatchText(), "c.ptc");
  ui.Clear();
  Presenter().FilesDropped({InProgram("a.ptc")});
  EXPECT_EQ(Presenter().State().PatchFolder, programFolder);
  EXPECT_EQ(view.SelectedPatchText(), "a.ptc");
  EXPECT_EQ(view.description, "program a");
  EXPECT_TRUE(ui.messages.empty());

  // Only a program becomes the executable to patch.
  const std::string notes = dir.Write("notes.txt", Bytes(128, 0));
  Presenter().FilesDropped({notes});
  EXPECT_TRUE(ui.OnlyPlain("ERROR trying to open " + notes +
                           "\r\nError mexage: only a program (.exe) can be patched"));
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), "");
}

}  // namespace
}  // namespace varnock::testing
