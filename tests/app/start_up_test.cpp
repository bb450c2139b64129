#include <gtest/gtest.h>

#include "app/window_texts.h"
#include "patchfile/bundle_unpack.h"
#include "support/files.h"
#include "target/exe_version.h"
#include "tests/app/app_fixture.h"
#include "tools/bundle_writer.h"

namespace varnock::testing {
namespace {

using StartUp = AppFixture;

const char* const kFatal =
    "ERROR: no patch found in current exe or in current folder\r\n"
    "If this program was in a zip file, PLEASE, decompress whole zip file in a temporary folder "
    "before starting this program";

TEST_F(StartUp, NoPatchAnywhereShowsTheFatalMessageAndUnloads) {
  EXPECT_FALSE(Presenter().Load());
  EXPECT_TRUE(ui.OnlyCritical(kFatal));
  EXPECT_EQ(view.closed, 1);
  EXPECT_TRUE(Presenter().Unloaded());
  EXPECT_TRUE(view.items.empty());
  EXPECT_EQ(view.Caption(MainLabel::DirSrc), programFolder);
}

TEST_F(StartUp, FillsTheStateAndChoosesTheFirstPatch) {
  WritePatch(programFolder, "b.ptc", Patch("tomb4.exe", "LE_X", "second", Dynamic));
  WritePatch(programFolder, "a.ptc", Patch("tomb4.exe", "LE_Y", "first\r\nline two", Dynamic));
  WritePatch(programFolder, "not a patch.txt", Patch("tomb4.exe", "LE_Z"));

  ASSERT_TRUE(Presenter().Load());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(view.closed, 0);

  const ProgramState& state = Presenter().State();
  EXPECT_EQ(state.TargetName, "tomb4");
  EXPECT_EQ(state.PatchFolder, programFolder);
  EXPECT_EQ(state.PatchCount, 2);
  EXPECT_EQ(state.EditorFolder, "");
  ASSERT_EQ(editorLookups.size(), 1u);
  EXPECT_EQ(editorLookups[0], JoinPath(JoinPath("Core Design", "trle"), "winroomedit.exe"));

  // With no executable chosen every signature ranks 0: the listing order stays.
  EXPECT_EQ(view.items, (std::vector<std::string>{"a.ptc", "b.ptc"}));
  EXPECT_EQ(view.selected, 0);
  EXPECT_EQ(view.description, "first\r\nline two");
  EXPECT_TRUE(view.dynamicVisible);
  EXPECT_EQ(view.Caption(MainLabel::TombVersion), "LE_Y");
  EXPECT_EQ(view.Caption(MainLabel::ApplyPatchTo), "Apply patch to following tomb4 program");
  EXPECT_EQ(view.Caption(MainLabel::CreatedWithVersion), "From tomb4 version");
  EXPECT_EQ(view.Caption(MainLabel::CurrentTomb), "Current tomb4 version");
  EXPECT_EQ(view.Caption(MainLabel::DirSrc), programFolder);
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), "");
  EXPECT_EQ(state.Patch.Description, "first\r\nline two");
}

TEST_F(StartUp, FindsTheTargetInTheInstalledEditorsFolder) {
  editorInstalled = true;
  const std::string engine = dir.Write(JoinPath("editor", "tomb4.exe"), Bytes(64, 0));
  WritePatch(programFolder, "p.ptc", Patch("tomb4.exe", "LE_Y"));

  ASSERT_TRUE(Presenter().Load());
  EXPECT_EQ(Presenter().State().EditorFolder, editorFolder);
  EXPECT_EQ(view.Caption(MainLabel::NomeExe), engine);
  RecordingUi probe;
  EXPECT_EQ(view.Caption(MainLabel::TombVersionNow), GetExeVersion(engine, probe));
  EXPECT_NE(view.Caption(MainLabel::TombVersionNow), "");
}

TEST_F(StartUp, ABrokenPatchIsReportedAndStillListed) {
  WritePatch(programFolder, "a.ptc", Patch("tomb4.exe", "LE_Y", "good"));
  dir.Write(JoinPath("program", "b.ptc"), Bytes{0xFF, 0xFF, 0xFF, 0xFF});  // a negative count

  ASSERT_TRUE(Presenter().Load());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(ui.messages[0].text.rfind(
                "Error trying to load binary patch from file: " + InProgram("b.ptc"), 0),
            0u);
  EXPECT_EQ(view.items, (std::vector<std::string>{"a.ptc", "b.ptc"}));
  EXPECT_EQ(view.description, "good");
}

TEST_F(StartUp, UnpacksTheBundleListsItAndDeletesOnlyNewFilesAtUnload) {
  const Bytes fresh = varnock::WritePatch(Patch("tomb4.exe", "LE_B", "bundled"));
  const Bytes kept = varnock::WritePatch(Patch("tomb4.exe", "LE_K", "bundled too"));
  Bytes exe = ToBytes("MZ image");
  const Bytes bundle = tools::BundleBytes(exe.size(), {{"Fresh.ptc", fresh}, {"Kept.ptc", kept}});
  exe.insert(exe.end(), bundle.begin(), bundle.end());
  dir.Write(JoinPath("program", "varnock.exe"), exe);
  dir.WriteText(JoinPath("program", "Kept.ptc"), "an older and longer copy of the kept patch");
  userFolder = dir.File("user");  // not wanted: the program's folder can be written

  ASSERT_TRUE(Presenter().Load());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(view.items, (std::vector<std::string>{"Fresh.ptc", "Kept.ptc"}));
  EXPECT_EQ(view.description, "bundled");
  EXPECT_EQ(ReadBytes(InProgram("Kept.ptc")), kept);
  EXPECT_EQ(Presenter().State().UnpackedFiles, std::vector<std::string>{InProgram("Fresh.ptc")});
  EXPECT_EQ(Presenter().State().UnpackedCount, 1);

  Presenter().CloseClicked();
  EXPECT_EQ(view.closed, 1);
  EXPECT_FALSE(FileExists(InProgram("Fresh.ptc")));
  EXPECT_TRUE(FileExists(InProgram("Kept.ptc")));
}

TEST_F(StartUp, AProgramFolderThatCannotBeWrittenSendsTheBundleToTheUserFolder) {
  Bytes exe = ToBytes("MZ image");
  const Bytes patch = varnock::WritePatch(Patch("tomb4.exe", "LE_B", "bundled"));
  const Bytes bundle = tools::BundleBytes(exe.size(), {{"Bundled.ptc", patch}});
  exe.insert(exe.end(), bundle.begin(), bundle.end());
  dir.Write(JoinPath("program", "varnock.exe"), exe);
  programFolderWritable = false;

  // Without a per-user folder the program's folder is tried as before.
  ASSERT_TRUE(Presenter().Load());
  EXPECT_EQ(Presenter().State().PatchFolder, programFolder);
  Presenter().CloseClicked();

  userFolder = dir.File("user");
  presenter.reset();
  ASSERT_TRUE(Presenter().Load());
  const std::string unpacked = JoinPath(userFolder, "Bundled.ptc");
  EXPECT_EQ(Presenter().State().PatchFolder, userFolder);
  EXPECT_EQ(view.Caption(MainLabel::DirSrc), userFolder);
  EXPECT_EQ(view.items, std::vector<std::string>{"Bundled.ptc"});
  EXPECT_EQ(ReadBytes(unpacked), patch);
  Presenter().CloseClicked();
  EXPECT_FALSE(FileExists(unpacked));
  EXPECT_FALSE(FileExists(InProgram("Bundled.ptc")));
}

TEST_F(StartUp, TheFatalPathStillDeletesWhatTheBundleUnpacked) {
  Bytes exe = ToBytes("MZ image");
  const Bytes bundle = tools::BundleBytes(exe.size(), {{"readme.txt", ToBytes("not a patch")}});
  exe.insert(exe.end(), bundle.begin(), bundle.end());
  dir.Write(JoinPath("program", "varnock.exe"), exe);

  EXPECT_FALSE(Presenter().Load());
  EXPECT_TRUE(ui.OnlyCritical(kFatal));
  EXPECT_FALSE(FileExists(InProgram("readme.txt")));
}

TEST_F(StartUp, UnloadRunsOnceAndClosesThePicker) {
  WritePatch(programFolder, "p.ptc", Patch("tomb4.exe", "LE_Y"));
  ASSERT_TRUE(Presenter().Load());
  Presenter().Unload();
  Presenter().CloseClicked();
  EXPECT_TRUE(Presenter().Unloaded());
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(view.pickerUnloads, 1);
}

}  // namespace
}  // namespace varnock::testing
