#include "engine/patch_operation.h"

#include <filesystem>
#include <functional>
#include <system_error>

#include "support/files.h"
#include "support/paths.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;

const std::string kNote =
    "\r\n\r\nNote: to remove correctly the patch you should insert same argument you used to "
    "apply this patch, otherwise the removing operation will fail";
const std::string kApplyFailed = "ERROR: cann't applying the patch";

// A word-sized argument patch in dir/patches for dir/game/tomb4.exe.
class PatchOperationTest : public ::testing::Test {
 protected:
  PatchOperationTest() : image(RandomImage(512)) {
    exe = dir.Write(JoinPath("game", "tomb4.exe"), image);
    patch = Patch(0, {Zone(0x40, Bytes(image.begin() + 0x40, image.begin() + 0x42), {0, 0})});
    WithArgument(patch, NumWord, {0x40});
    patchPath = WriteNamed("Patch_Example#250#.ptc");
  }
  std::string WriteNamed(const std::string& name, const std::string& folder = "patches") {
    return dir.Write(JoinPath(folder, name), WritePatch(patch));
  }
  ResultCode Run(bool remove, std::optional<std::string> answer, const std::string& path = {}) {
    ui.Clear();
    ui.QueueAnswer(std::move(answer));
    return RunPatchOperation(path.empty() ? patchPath : path, exe, remove, loaded, ui);
  }
  Bytes ImageWith(Bytes value) const {
    Bytes changed = image;
    Put(changed, 0x40, value);
    return changed;
  }
  // Nothing but the patch files the test wrote remains.
  void ExpectNoCopies(const std::vector<std::string>& names = {"Patch_Example#250#.ptc"}) {
    EXPECT_TRUE(Leftovers(dir.File("patches"), names).empty())
        << ::testing::PrintToString(Leftovers(dir.File("patches"), names));
    EXPECT_TRUE(Leftovers(dir.File("game"), {"tomb4.exe"}).empty());
    EXPECT_TRUE(Leftovers(dir.path(), {"game", "patches"}).empty());
  }

  TempDir dir;
  RecordingUi ui;
  Bytes image;
  std::string exe;
  PatchRecord patch;
  PatchRecord loaded;
  std::string patchPath;
};

TEST_F(PatchOperationTest, AppliesAndRemovesWithTheArgumentTheUserTypes) {
  EXPECT_EQ(Run(false, "300"), ResultDone);
  ASSERT_EQ(ui.questions.size(), 1U);
  EXPECT_EQ(ui.questions[0].prompt, "Set argument value");
  EXPECT_EQ(ui.questions[0].title, "Input argument");
  EXPECT_EQ(ui.questions[0].proposed, "250");
  EXPECT_TRUE(ui.OnlyPlain("Ok: applying patch operation has been performed"));
  EXPECT_EQ(ReadBytes(exe), ImageWith({0x2C, 0x01}));

  EXPECT_EQ(Run(false, "300"), ResultAlreadyDone);
  EXPECT_TRUE(ui.OnlyPlain("WARNING: applying patch operation was already been performed"));
  EXPECT_EQ(Run(true, "301"), ResultFailed) << "removal needs the same argument";
  EXPECT_EQ(ui.questions[0].prompt, "Set argument value" + kNote);
  EXPECT_TRUE(ui.OnlyPlain("ERROR: cann't removing the patch"));
  EXPECT_EQ(ReadBytes(exe), ImageWith({0x2C, 0x01}));

  EXPECT_EQ(Run(true, "300"), ResultDone);
  EXPECT_TRUE(ui.OnlyPlain("Ok: removing patch operation has been performed"));
  EXPECT_EQ(Run(true, "300"), ResultAlreadyDone);
  EXPECT_TRUE(ui.OnlyPlain("WARNING: removing patch operation was already been performed"));
  EXPECT_EQ(ReadBytes(exe), image);
  ExpectNoCopies();
}

// Without an answer, or without a value in the name, the operation stops quietly; an answer
// that cannot travel in a file name, or a name without '#', is refused; the file stays as it
// was and no copy is left.
TEST_F(PatchOperationTest, StopsOrRefusesWithoutChangingTheFile) {
  const std::string absent = dir.File("absent#1#.ptc");
  const std::string plain = WriteNamed("Patch_Example.ptc");
  const std::string up = JoinPath("..", "300");
  const std::string refused =
      "' cannot be used: it must not contain '#', path separators or "
      "characters that a file name cannot hold";
  const struct {
    std::optional<std::string> answer;
    std::string path;
    ResultCode result;
    std::string message;  // shown with the critical icon, before the closing message
  } cases[] = {
      {std::nullopt, patchPath, ResultNone, ""},
      {"", patchPath, ResultNone, ""},
      {"300", WriteNamed("Patch##.ptc"), ResultNone, ""},
      {"300", absent, ResultNone, "ERROR: cann't find patch file: " + absent},
      {"300", plain, ResultFailed,
       "Error trying to applicate patch: " + plain +
           "\r\nMissing characters '#' used to delimite argument"},
      {"1#2", patchPath, ResultFailed, "ERROR: the argument '1#2" + refused},
      {up, patchPath, ResultFailed, "ERROR: the argument '" + up + refused},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(Run(false, c.answer, c.path), c.result);
    std::vector<RecordedMessage> told;
    if (!c.message.empty()) {
      told.push_back({c.message, MessageIcon::Critical});
    }
    if (c.result == ResultFailed) {
      told.push_back({kApplyFailed});
    }
    EXPECT_EQ(ui.messages, told);
    EXPECT_EQ(ui.questions.size(), c.path == patchPath ? 1U : 0U);
  }
  EXPECT_EQ(ReadBytes(exe), image);
  ExpectNoCopies({"Patch_Example#250#.ptc", "Patch##.ptc", "Patch_Example.ptc"});
}

TEST_F(PatchOperationTest, TheCopyStaysNextToThePatchWhateverTheFolderIsCalled) {
  const std::string path = WriteNamed("Patch_Example#250#.ptc", "#250#");
  EXPECT_EQ(Run(false, "300", path), ResultDone);
  EXPECT_EQ(ReadBytes(exe), ImageWith({0x2C, 0x01}));
  EXPECT_TRUE(Leftovers(dir.File("#250#"), {"Patch_Example#250#.ptc"}).empty());
  EXPECT_FALSE(fs::exists(dir.File("#300#")));
  EXPECT_EQ(TempPatchPath("P#1#.ptc"), "temp_P#1#.ptc");
}

#ifndef _WIN32
TEST_F(PatchOperationTest, ACopyThatCannotBeMadeIsToldAsSuchAndLeavesNothing) {
  EXPECT_EQ(Run(false, std::string(300, '7')), ResultFailed);
  ASSERT_EQ(ui.messages.size(), 2U);
  EXPECT_EQ(ui.messages[0].text.rfind(std::string(kGeneralFailure) + "the temporary copy ", 0), 0U);
  EXPECT_NE(ui.messages[0].text.find(" of the patch cannot be made beside it: " +
                                     ErrorText(std::make_error_code(std::errc::filename_too_long))),
            std::string::npos)
      << ui.messages[0].text;
  EXPECT_EQ(ui.messages[1], (RecordedMessage{kApplyFailed}));
  EXPECT_EQ(ReadBytes(exe), image);
  ExpectNoCopies();
}

// Whatever already has the copy's name (a file of the user's, a folder, a link to nowhere) is
// left as it is, never loaded, and the patch is applied through a copy of its own. A stale
// copy of another patch is tested in tests/fault.
TEST_F(PatchOperationTest, AnEntryUnderTheCopysNameIsLeftAlone) {
  const std::string taken = dir.File(JoinPath("patches", "temp_Patch_Example#300#.ptc"));
  for (const auto& make : std::vector<std::function<void()>>{
           [&] { dir.WriteText(JoinPath("patches", "temp_Patch_Example#300#.ptc"), "notes"); },
           [&] { fs::create_directory(taken); },
           [&] { fs::create_symlink(taken + ".nowhere", taken); }}) {
    fs::remove(taken);
    dir.Write(JoinPath("game", "tomb4.exe"), image);
    make();
    const fs::file_type before = fs::symlink_status(taken).type();
    EXPECT_EQ(Run(false, "300"), ResultDone) << static_cast<int>(before);
    EXPECT_TRUE(ui.OnlyPlain("Ok: applying patch operation has been performed"));
    EXPECT_EQ(ReadBytes(exe), ImageWith({0x2C, 0x01}));
    EXPECT_EQ(fs::symlink_status(taken).type(), before);
    if (before == fs::file_type::regular) {
      EXPECT_EQ(ReadBytes(taken), ToBytes("notes"));
    }
    ExpectNoCopies({"Patch_Example#250#.ptc", "temp_Patch_Example#300#.ptc"});
  }
}
#endif

}  // namespace
}  // namespace varnock::testing
