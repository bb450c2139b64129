#include <gtest/gtest.h>

#include "patchfile/bundle_unpack.h"
#include "support/files.h"
#include "target/exe_version.h"
#include "tests/app/app_fixture.h"
#include "tools/bundle_writer.h"

namespace varnock::testing {
namespace {

class StartUp : public AppFixture {
 protected:
  // The program's executable with these files appended as its bundle.
  void Bundle(const std::vector<tools::BundleFile>& entries) {
    Bytes exe = ToBytes("MZ image");
    const Bytes bundle = tools::BundleBytes(exe.size(), entries);
    exe.insert(exe.end(), bundle.begin(), bundle.end());
    dir.Write(JoinPath("program", "varnock.exe"), exe);
  }
};

// No patch anywhere (the bundle holds none): the fatal message, the window unloads, and what
// the bundle unpacked is deleted.
TEST_F(StartUp, NoPatchAnywhereShowsTheFatalMessageAndUnloads) {
  Bundle({{"readme.txt", ToBytes("not a patch")}});
  EXPECT_FALSE(Presenter().Load());
  EXPECT_TRUE(ui.OnlyCritical(
      "ERROR: no patch found in current exe or in current folder\r\n"
      "If this program was in a zip file, PLEASE, decompress whole zip file in a temporary folder "
      "before starting this program"));
  EXPECT_EQ(view.closed, 1);
  EXPECT_TRUE(Presenter().Unloaded());
  EXPECT_EQ(view.Caption(MainLabel::DirSrc), programFolder);
  EXPECT_FALSE(FileExists(InProgram("readme.txt")));
}

// The patches listed (a broken one reported and still listed), the first chosen, and the target
// found in the installed level editor's folder.
TEST_F(StartUp, FillsTheStateAndChoosesTheFirstPatch) {
  editorInstalled = true;
  const std::string engine = dir.Write(JoinPath("editor", "tomb4.exe"), Bytes(64, 0));
  WritePatch(programFolder, "b.ptc", Patch("tomb4.exe", "LE_X", "second", Dynamic));
  WritePatch(programFolder, "a.ptc", Patch("tomb4.exe", "LE_Y", "first\r\nline two", Dynamic));
  WritePatch(programFolder, "not a patch.txt", Patch("tomb4.exe", "LE_Z"));
  dir.Write(JoinPath("program", "c.ptc"), Bytes{0xFF, 0xFF, 0xFF, 0xFF});  // a negative count

  ASSERT_TRUE(Presenter().Load());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(ui.messages[0].text.rfind(
                "Error trying to load binary patch from file: " + InProgram("c.ptc"), 0),
            0u);
  const ProgramState& state = Presenter().State();
  EXPECT_EQ(state.TargetName, "tomb4");
  EXPECT_EQ(state.PatchCount, 3);
  EXPECT_EQ(state.EditorFolder, editorFolder);
  EXPECT_EQ(editorLookups,
            std::vector<std::string>{JoinPath(JoinPath("Core Design", "trle"), "winroomedit.exe")});
  EXPECT_EQ(view.items, (std::vector<std::string>{"a.ptc", "b.ptc", "c.ptc"}));
  EXPECT_EQ(view.selected, 0);
  EXPECT_EQ(view.description, "first\r\nline two");
  EXPECT_TRUE(view.dynamicVisible);
  EXPECT_EQ(view.Caption(MainLabel::TombVersion), "LE_Y");
  EXPECT_EQ(view.Caption(MainLabel::ApplyPatchTo), "Apply patch to following tomb4 program");
  EXPECT_EQ(view.Caption(MainLabel::CreatedWithVersion), "From tomb4 version");
  EXPECT_EQ(view.Caption(MainLabel::CurrentTomb), "Current tomb4 version");
  EXPECT_EQ(view.Caption(MainLabel::DirSrc), programFolder);
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), engine);
  RecordingUi probe;
  EXPECT_EQ(view.Caption(MainLabel::TombVersionNow), GetExeVersion(engine, probe));
}

// The bundle is unpacked into the program's folder when it can be written, else into the
// user's folder; unload deletes only the files it made, once.
TEST_F(StartUp, UnpacksTheBundleAndDeletesOnlyNewFilesAtUnload) {
  const Bytes fresh = varnock::WritePatch(Patch("tomb4.exe", "LE_B", "bundled"));
  const Bytes kept = varnock::WritePatch(Patch("tomb4.exe", "LE_K", "bundled too"));
  Bundle({{"Fresh.ptc", fresh}, {"Kept.ptc", kept}});
  dir.WriteText(JoinPath("program", "Kept.ptc"), "an older and longer copy of the kept patch");
  userFolder = dir.File("user");  // not wanted: the program's folder can be written

  ASSERT_TRUE(Presenter().Load());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(view.items, (std::vector<std::string>{"Fresh.ptc", "Kept.ptc"}));
  EXPECT_EQ(ReadBytes(InProgram("Kept.ptc")), kept);
  EXPECT_EQ(Presenter().State().UnpackedFiles, std::vector<std::string>{InProgram("Fresh.ptc")});
  EXPECT_EQ(Presenter().State().UnpackedCount, 1);
  Presenter().Unload();
  Presenter().CloseClicked();
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(view.pickerUnloads, 1);
  EXPECT_FALSE(FileExists(InProgram("Fresh.ptc")));
  EXPECT_TRUE(FileExists(InProgram("Kept.ptc")));

  programFolderWritable = false;
  presenter.reset();
  ASSERT_TRUE(Presenter().Load());
  EXPECT_EQ(Presenter().State().PatchFolder, userFolder);
  EXPECT_EQ(view.Caption(MainLabel::DirSrc), userFolder);
  EXPECT_EQ(ReadBytes(JoinPath(userFolder, "Fresh.ptc")), fresh);
  Presenter().CloseClicked();
  EXPECT_FALSE(FileExists(JoinPath(userFolder, "Fresh.ptc")));
  EXPECT_FALSE(FileExists(InProgram("Fresh.ptc")));

  // Without a per-user folder the program's folder is tried as before.
  userFolder.clear();
  presenter.reset();
  ASSERT_TRUE(Presenter().Load());
  EXPECT_EQ(Presenter().State().PatchFolder, programFolder);
}

}  // namespace
}  // namespace varnock::testing
