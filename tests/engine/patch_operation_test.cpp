#include "engine/patch_operation.h"

#include <system_error>
#include <tuple>

#include "support/files.h"
#include "support/paths.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

const std::string kNote =
    "\r\n\r\nNote: to remove correctly the patch you should insert same argument you used to "
    "apply this patch, otherwise the removing operation will fail";
const std::string kApplyFailed = "ERROR: cann't applying the patch";

// A word-sized argument patch for dir/tomb4.exe in a folder named like arguments: the value
// is read from the file's base name only, and the value the user types replaces it in the file
// name only, so that the copy stays beside the patch.
const std::string kPatches = "#1##250#";

class PatchOperationTest : public ImageTest {
 protected:
  PatchOperationTest() {
    patch = Patch(0, {Zone(0x40, Slice(0x40, 2), {0, 0})});
    WithArgument(patch, NumWord, {0x40});
    patchPath = WriteNamed("Patch_Example#250#.ptc");
  }
  std::string WriteNamed(const std::string& name) {
    return dir.Write(JoinPath(kPatches, name), WritePatch(patch));
  }
  ResultCode Run(bool remove, std::optional<std::string> answer, const std::string& path = {}) {
    ui.Clear();
    ui.QueueAnswer(std::move(answer));
    return RunPatchOperation(path.empty() ? patchPath : path, exe, remove, loaded, {.ui = ui});
  }
  Bytes ImageWith(Bytes value) const {
    Bytes changed = image;
    Put(changed, 0x40, value);
    return changed;
  }
  // Nothing but the patch files the test wrote remains.
  void ExpectNoCopies(const std::vector<std::string>& names = {"Patch_Example#250#.ptc"}) {
    EXPECT_EQ(Leftovers(dir.File(kPatches), names), std::vector<std::string>{});
    EXPECT_EQ(Leftovers(dir.path(), {"tomb4.exe", kPatches}), std::vector<std::string>{});
  }

  PatchRecord patch;
  PatchRecord loaded;
  std::string patchPath;
};

// A file of the user's under the copy's name is left as it is, never loaded: the patch goes
// through a copy of its own (a stale copy of the patch is tested in tests/fault).
TEST_F(PatchOperationTest, AppliesAndRemovesWithTheArgumentTheUserTypes) {
  const std::string taken =
      dir.WriteText(JoinPath(kPatches, "temp_Patch_Example#300#.ptc"), "notes");
  EXPECT_EQ(Run(false, "300"), ResultDone);
  ASSERT_EQ(ui.questions.size(), 1U);
  EXPECT_EQ(std::tie(ui.questions[0].prompt, ui.questions[0].title, ui.questions[0].proposed),
            std::tuple("Set argument value", "Input argument", "250"));
  EXPECT_TRUE(ui.OnlyPlain("Ok: applying patch operation has been performed"));
  EXPECT_EQ(ReadBytes(exe), ImageWith({0x2C, 0x01}));

  EXPECT_EQ(Run(true, "301"), ResultFailed) << "removal needs the same argument";
  EXPECT_EQ(ui.questions[0].prompt, "Set argument value" + kNote);
  EXPECT_TRUE(ui.OnlyPlain("ERROR: cann't removing the patch"));
  EXPECT_EQ(ReadBytes(exe), ImageWith({0x2C, 0x01}));

  EXPECT_EQ(Run(true, "300"), ResultDone);
  EXPECT_TRUE(ui.OnlyPlain("Ok: removing patch operation has been performed"));
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_EQ(ReadBytes(taken), ToBytes("notes"));
  ExpectNoCopies({"Patch_Example#250#.ptc", "temp_Patch_Example#300#.ptc"});
}

// Without an answer, or without a value in the name, the operation stops quietly; an answer
// that cannot travel in a file name, or a name without '#', is refused; the file stays as it
// was and no copy is left.
TEST_F(PatchOperationTest, StopsOrRefusesWithoutChangingTheFile) {
  const std::string absent = dir.File("absent#1#.ptc");
  const std::string plain = WriteNamed("Patch_Example.ptc");
  const std::string unclosed = WriteNamed("Patch#250.ptc");
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
      {"300", unclosed, ResultNone,
       "Error trying to applicate patch: " + unclosed +
           "\r\nMissing ending character '#' used to delimite argument in patch name"},
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
  ExpectNoCopies({"Patch_Example#250#.ptc", "Patch##.ptc", "Patch_Example.ptc", "Patch#250.ptc"});
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
#endif

}  // namespace
}  // namespace varnock::testing
