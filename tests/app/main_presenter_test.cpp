#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <tuple>

#include "app/remembered_choices.h"
#include "history/history_actions.h"
#include "support/files.h"
#include "support/sha256.h"
#include "target/exe_version.h"
#include "tests/app/app_fixture.h"

namespace varnock::testing {
namespace {

class StartUp : public AppFixture {};

// No patch anywhere (the bundle holds none): the fatal message, the window unloads, and what
// the bundle unpacked is deleted.
TEST_F(StartUp, NoPatchAnywhereShowsTheFatalMessageAndUnloads) {
  Bundle({{"readme.txt", ToBytes("not a patch")}});
  EXPECT_FALSE(Load());
  EXPECT_TRUE(ui.OnlyCritical(
      "ERROR: no patch found in current exe or in current folder\r\n"
      "If this program was in a zip file, PLEASE, decompress whole zip file in a temporary folder "
      "before starting this program"));
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(view.captions[MainLabel::DirSrc], programFolder);
  EXPECT_FALSE(FileExists(InProgram("readme.txt")));
}

// The bundle is unpacked into the program's folder when it can be written, replacing what is
// there; unload deletes only the files it made, once.
TEST_F(StartUp, UnpacksTheBundleAndDeletesOnlyNewFilesAtUnload) {
  const Bytes fresh = varnock::WritePatch(Patch("LE_B", "bundled"));
  const Bytes kept = varnock::WritePatch(Patch("LE_K", "bundled too"));
  Bundle({{"Fresh.ptc", fresh}, {"Kept.ptc", kept}});
  dir.WriteText(JoinPath("program", "Kept.ptc"), "an older and longer copy of the kept patch");
  userFolder = dir.File("user");  // not wanted: the program's folder can be written

  ASSERT_TRUE(Load());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(view.items, (std::vector<std::string>{"Fresh.ptc", "Kept.ptc"}));
  EXPECT_EQ(ReadBytes(InProgram("Kept.ptc")), kept);
  Presenter().Unload();
  Presenter().CloseClicked();
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(view.pickerUnloads, 1);
  EXPECT_FALSE(FileExists(InProgram("Fresh.ptc")));
  EXPECT_TRUE(FileExists(InProgram("Kept.ptc")));
}

// Files opened with the program or dropped onto its window.
class OpenedFiles : public AppFixture {
 protected:
  OpenedFiles() {
    WritePatch(programFolder, "a.ptc", Patch("LE_A", "program a"));
    RecordingUi probe;  // c.ptc is made for the engine, and so listed first once it is chosen
    WritePatch(more, "b.ptc", Patch("LE_B", "more b"));
    WritePatch(more, "c.ptc", Patch(GetExeVersion(engine, probe), "more c"));
    WritePatch(more, "D.PTC", Patch("LE_D", "more d", Dynamic));
  }

  std::string more = dir.File("more");
  std::string engine = dir.Write(JoinPath("games", "tomb4.exe"), Bytes(128, 0));
};

// The patch, relative to the current folder, opens in its folder and is chosen; the executable
// after it on the command line is chosen first, so that the list is sorted for its version. Both
// are kept: the next run starts with them, and with the program's folder once they are gone or hold
// no patch.
TEST_F(OpenedFiles, StartUpOpensThePatchAndTheExecutableAndTheNextRunStartsWithThem) {
  openedFiles = {JoinPath("more", "D.PTC"), engine};
  ASSERT_TRUE(Load());
  EXPECT_EQ(view.items, (std::vector<std::string>{"c.ptc", "b.ptc", "D.PTC"}));
  EXPECT_EQ(view.SelectedPatchText(), "D.PTC");
  EXPECT_EQ(view.description, "more d");
  EXPECT_TRUE(view.dynamicVisible);
  EXPECT_EQ(settings, (std::map<std::string, std::string>{{kRememberedPatchFolder, more},
                                                          {kRememberedTarget, engine}}));

  dir.WriteText(JoinPath("empty", "notes.txt"), "no patch here");
  openedFiles.clear();
  for (const std::string& gone : {std::string(), dir.File("gone"), dir.File("empty")}) {
    SCOPED_TRACE(gone);
    if (!gone.empty()) {
      settings = {{kRememberedPatchFolder, gone}, {kRememberedTarget, gone}};
    }
    EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(ui.Texts());
    view = RecordingView();
    ASSERT_TRUE(Load());
    EXPECT_EQ(view.captions[MainLabel::DirSrc], gone.empty() ? more : programFolder);
    EXPECT_EQ(view.captions[MainLabel::NomeExe], gone.empty() ? engine : "");
  }
  // A patch of the remembered folder: that folder is listed once.
  settings = {{kRememberedPatchFolder, more}};
  openedFiles = {JoinPath("more", "b.ptc")};
  view = RecordingView();
  ASSERT_TRUE(Load());
  EXPECT_EQ(view.SelectedPatchText(), "b.ptc");
  EXPECT_EQ(view.listings, 1);
}

// A missing file is named and the rest still opens (a folder as the patch folder); a dropped
// patch opens its folder and is chosen, after the handler under way when it came; a dropped file
// that is no program is refused.
TEST_F(OpenedFiles, AMissingFileIsNamedAndADroppedPatchIsChosen) {
  openedFiles = {"gone.ptc", more};
  ASSERT_TRUE(Load());
  EXPECT_TRUE(ui.OnlyPlain("ERROR trying to open gone.ptc\r\nError mexage: " +
                           ErrorText(std::make_error_code(std::errc::no_such_file_or_directory))));
  EXPECT_EQ(view.captions[MainLabel::DirSrc], more);
  EXPECT_EQ(view.SelectedPatchText(), "b.ptc");
  ui.Clear();
  const std::string before = view.description;
  std::string underTheBox;
  ui.whileShown = [&] {
    if (underTheBox.empty()) {
      underTheBox = "shown";
      Presenter().FilesDropped({InProgram("a.ptc")});
      underTheBox = view.description;
    }
  };
  const std::string notes = dir.Write("notes.txt", Bytes(128, 0));
  Presenter().FilesDropped({notes});
  EXPECT_TRUE(ui.OnlyPlain("ERROR trying to open " + notes +
                           "\r\nError mexage: only a program (.exe) can be patched"));
  EXPECT_EQ(underTheBox, before);
  EXPECT_EQ(view.description, "program a");
  EXPECT_EQ(view.captions[MainLabel::NomeExe], "");
}

// A set given with the program, or dropped, opens the Patches window on the set's own folder
// with the executable chosen, and hands it the set to open there; the window comes once the
// rest is done.
TEST_F(OpenedFiles, ASetOpensThePatchesWindowOnItsFolder) {
  const std::string set = dir.WriteText(JoinPath("more", "level.ptcset"), "not read here");
  std::vector<std::string> requests;
  view.patchesWindow = [&](const PatchesRequest& request) {
    requests.push_back(request.folder + " " + request.exePath + " " + request.setPath + " " +
                       std::to_string(request.fileNames.size()));
    return MainWindowView::PatchesOutcome();
  };
  openedFiles = {JoinPath("more", "level.ptcset"), engine};
  ASSERT_TRUE(Load());
  Presenter().FilesDropped({programFolder});
  Presenter().FilesDropped({set});
  const std::string expected = more + " " + engine + " " + set + " 3";
  EXPECT_EQ(requests, (std::vector<std::string>{expected, expected}));
  EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(ui.Texts());

  // Never over another folder, where every patch it names would be missing and every patch
  // applied there marked to come off: a patch of another folder given with it, or a set in a
  // folder of no patches (which says so itself).
  Presenter().FilesDropped({set, InProgram("a.ptc")});
  const std::string empty = dir.WriteText(JoinPath("empty", "level.ptcset"), "not read here");
  Presenter().FilesDropped({empty});
  EXPECT_EQ(requests.size(), 2U);
  ASSERT_EQ(ui.messages.size(), 2U) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ui.Texts()[0],
            "No set can be opened: the patches of level.ptcset are not in the "
            "patch folder in use, " +
                programFolder + ".");
  EXPECT_EQ(view.captions[MainLabel::DirSrc], programFolder);
}

// The executable the user named stays chosen whenever the chosen patch is for its program, though
// a patch for another program lists first; one for another program than the chosen patch's is
// refused with a notice and not remembered.
TEST_F(OpenedFiles, TheNamedExecutableStaysWithAPatchForItsProgram) {
  RecordingUi probe;
  WritePatch(more, "A_convert.ptc", Patch(GetExeVersion(engine, probe), "", 0, "tom2pc.exe"));
  const std::string b = JoinPath(more, "b.ptc");
  for (const auto& opened : {std::vector<std::string>{b, engine}, {}, {b}}) {
    openedFiles = opened;
    view = RecordingView();
    ASSERT_TRUE(Load());
    if (opened.empty()) {  // start-up chose the converter's patch; the user chooses b.ptc
      EXPECT_EQ(view.captions[MainLabel::NomeExe], "");
      view.SelectPatchItem(2);
      Presenter().PatchClicked();
    }
    EXPECT_EQ(view.SelectedPatchText(), "b.ptc");
    EXPECT_EQ(view.captions[MainLabel::NomeExe], engine) << opened.size();
    EXPECT_EQ(settings[kRememberedTarget], engine);
  }
  const std::string converter = dir.Write(JoinPath("tools", "tom2pc.exe"), Bytes(128, 0));
  Presenter().FilesDropped({InProgram("a.ptc"), converter});
  EXPECT_TRUE(ui.OnlyPlain("The program " + converter + " was not taken:\r\nthe chosen patch " +
                           "a.ptc is made for tomb4, not for this program."));
  EXPECT_EQ(view.captions[MainLabel::NomeExe], engine);
  EXPECT_EQ(settings[kRememberedTarget], engine);
}

class WindowHandlers : public AppFixture {
 protected:
  // One patch for tomb4.exe, loaded, with the messages of start-up cleared.
  void SetUp() override {
    WritePatch(programFolder, "four.ptc", Patch("LE_Y", "changes four bytes"));
    ASSERT_TRUE(Load());
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

// A patch applied with another value than its name's is removed with that value proposed.
TEST_F(StatusLine, RemovingProposesTheValueTheExecutableHolds) {
  PatchRecord patch = Patch("LE_Y", "a patch", HasArgument);
  patch.Zones = {{4, 2, ToBytes("AB"), ToBytes("?X")}};
  patch.ArgType = NumByte;
  patch.ArgOffsets = {4};
  WritePatch(programFolder, "value#20#.ptc", patch);
  ASSERT_TRUE(Load());
  view.pickerAnswers = {dir.Write(JoinPath("games", "tomb4.exe"), ToBytes("MZ..#X...."))};
  Presenter().ChangeTargetClicked();
  EXPECT_EQ(view.statusLine, "Status: applied with argument 35");
  Presenter().RemoveClicked();
  EXPECT_EQ(ui.questions.at(0).proposed, "35");
  EXPECT_EQ(view.statusLine, "Status: not applied");
}

// Files changed by another program are seen when the window is activated again: the executable
// (the patch removed behind the window's back) and a patch file rewritten in the folder.
TEST_F(StatusLine, IsCheckedAgainWhenTheWindowIsActivated) {
  PatchRecord four = Patch("LE_Y");
  four.Zones = {{4, 4, ToBytes("ABCD"), ToBytes("WXYZ")}};
  for (const char* name : {"a.ptc", "b.ptc", "c.ptc", "d.ptc", "e.ptc"}) {
    WritePatch(programFolder, name, four);
  }
  const Bytes original = ToBytes("MZ..ABCD....");
  view.pickerAnswers = {dir.Write(JoinPath("games", "tomb4.exe"), original)};
  ASSERT_TRUE(Load());
  Presenter().ChangeTargetClicked();
  // The result's box, closing, activates the window: the handler takes the status, once it ends.
  std::string underTheBox;
  ui.whileShown = [&] {
    Presenter().WindowActivated();
    underTheBox = view.statusLine;
  };
  Presenter().ApplyClicked();
  const std::string others = " \u2014 conflicts with b.ptc, c.ptc and 2 others";
  EXPECT_EQ(underTheBox, "Status: not applied" + others);
  EXPECT_EQ(view.statusLine, "Status: applied" + others);

  dir.Write(JoinPath("games", "tomb4.exe"), original);
  EXPECT_EQ(view.statusLine, "Status: applied" + others) << "nothing has looked yet";
  Presenter().WindowActivated();
  EXPECT_EQ(view.statusLine, "Status: not applied" + others);
  four.Zones = {{8, 4, ToBytes("...."), ToBytes("WXYZ")}};  // no longer shares a byte
  WritePatch(programFolder, "b.ptc", four);
  Presenter().WindowActivated();
  EXPECT_EQ(view.statusLine, "Status: not applied \u2014 conflicts with c.ptc, d.ptc, e.ptc");
}

// APPLY and REMOVE keep the executable's history; once the Patches window has changed the
// executable, the line follows it even when the file's marker did not change (a rewrite within
// the file system's time resolution). Without a history, the user is told once in a run.
TEST_F(StatusLine, FollowsThePatchesWindowAndKeepsTheHistory) {
  PatchRecord four = Patch("LE_Y");
  four.Zones = {{4, 4, ToBytes("ABCD"), ToBytes("WXYZ")}};
  WritePatch(programFolder, "a.ptc", four);
  const std::string exe = dir.Write(JoinPath("games", "tomb4.exe"), ToBytes("MZ..ABCD...."));
  view.pickerAnswers = {exe};
  ASSERT_TRUE(Load());
  Presenter().ChangeTargetClicked();
  Presenter().ApplyClicked();
  {
    OpenedHistory opened;  // holds the file until the end of the block
    std::string error;
    EXPECT_TRUE(OpenHistory(exe, historyFolder, opened, error)) << error;
  }
  view.patchesWindow = [&](const PatchesRequest& request) {
    EXPECT_EQ(request.fileNames, std::vector<std::string>{"a.ptc"});
    EXPECT_NE(request.history, nullptr);
    const auto written = std::filesystem::last_write_time(exe);
    std::ofstream(exe, std::ios::binary | std::ios::in) << "MZ..ABCD....";
    std::filesystem::last_write_time(exe, written);
    return MainWindowView::PatchesOutcome{true, {}};
  };
  Presenter().AllPatchesClicked();
  EXPECT_EQ(view.statusLine, "Status: not applied");

  historyFolder = dir.Write("not-a-folder", {});
  ASSERT_TRUE(Load());
  ui.Clear();
  Presenter().ApplyClicked();
  Presenter().RemoveClicked();
  const auto warning = [](const std::string& text) { return text.starts_with("WARNING: no h"); };
  EXPECT_EQ(std::ranges::count_if(ui.Texts(), warning), 1);
}

}  // namespace
}  // namespace varnock::testing
