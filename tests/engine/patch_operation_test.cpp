#include "engine/patch_operation.h"

#include "support/paths.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

const std::string kNote =
    "\r\n\r\nNote: to remove correctly the patch you should insert same argument you used to "
    "apply this patch, otherwise the removing operation will fail";

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

  // Nothing but the patch files the test wrote remains in the patch folder.
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
  ExpectNoCopies();

  EXPECT_EQ(Run(false, "300"), ResultAlreadyDone);
  EXPECT_TRUE(ui.OnlyPlain("WARNING: applying patch operation was already been performed"));

  EXPECT_EQ(Run(true, "301"), ResultFailed) << "removal needs the same argument";
  EXPECT_EQ(ui.questions[0].prompt, "Set argument value" + kNote);
  EXPECT_TRUE(ui.OnlyPlain("ERROR: cann't removing the patch"));
  EXPECT_EQ(ReadBytes(exe), ImageWith({0x2C, 0x01}));
  ExpectNoCopies();

  EXPECT_EQ(Run(true, "300"), ResultDone);
  EXPECT_TRUE(ui.OnlyPlain("Ok: removing patch operation has been performed"));
  EXPECT_EQ(Run(true, "300"), ResultAlreadyDone);
  EXPECT_TRUE(ui.OnlyPlain("WARNING: removing patch operation was already been performed"));
  EXPECT_EQ(ReadBytes(exe), image);
  ExpectNoCopies();
}

TEST_F(PatchOperationTest, StopsQuietlyWithoutAnAnswer) {
  EXPECT_EQ(Run(false, std::nullopt), ResultNone);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Run(false, ""), ResultNone);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Run(false, "300", WriteNamed("Patch##.ptc")), ResultNone);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(ui.questions.empty());

  const std::string unclosed = WriteNamed("Patch#250.ptc");
  EXPECT_EQ(Run(false, "300", unclosed), ResultNone);
  EXPECT_TRUE(ui.OnlyCritical("Error trying to applicate patch: " + unclosed +
                              "\r\nMissing ending character '#' used to delimite argument in "
                              "patch name"));
  EXPECT_EQ(Run(false, "300", dir.File("absent#1#.ptc")), ResultNone);
  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + dir.File("absent#1#.ptc")));
  EXPECT_EQ(ReadBytes(exe), image);
  ExpectNoCopies({"Patch_Example#250#.ptc", "Patch##.ptc", "Patch#250.ptc"});
}

TEST_F(PatchOperationTest, APatchNamedWithoutHashesIsRefusedByTheEngineWithoutAQuestion) {
  const std::string plain = WriteNamed("Patch_Example.ptc");
  EXPECT_EQ(Run(false, "300", plain), ResultFailed);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(ui.Texts(),
            (std::vector<std::string>{"Error trying to applicate patch: " + plain +
                                          "\r\nMissing characters '#' used to delimite argument",
                                      "ERROR: cann't applying the patch"}));
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(ui.messages[1].icon, MessageIcon::None);
  EXPECT_EQ(ReadBytes(exe), image);
}

TEST_F(PatchOperationTest, AnswersThatCannotTravelInAFileNameAreRefused) {
  for (const std::string& answer : std::vector<std::string>{"1#2", JoinPath("..", "300"), "a/b"}) {
    EXPECT_EQ(Run(false, answer), ResultFailed) << answer;
    ASSERT_EQ(ui.messages.size(), 2U) << answer;
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_NE(ui.messages[0].text.find("'" + answer + "'"), std::string::npos);
    EXPECT_EQ(ui.messages[1], (RecordedMessage{"ERROR: cann't applying the patch"}));
  }
  EXPECT_EQ(ReadBytes(exe), image);
  ExpectNoCopies();
}

TEST_F(PatchOperationTest, TheCopyStaysNextToThePatchWhateverTheFolderIsCalled) {
  const std::string path = WriteNamed("Patch_Example#250#.ptc", "#250#");
  EXPECT_EQ(Run(false, "300", path), ResultDone);
  EXPECT_EQ(ReadBytes(exe), ImageWith({0x2C, 0x01}));
  EXPECT_TRUE(Leftovers(dir.File("#250#"), {"Patch_Example#250#.ptc"}).empty());
  EXPECT_FALSE(std::filesystem::exists(dir.File("#300#")));
}

TEST_F(PatchOperationTest, APatchWithoutArgumentIsAppliedWithoutAQuestionOrACopy) {
  patch = Patch(0, {Zone(0x10, Bytes(image.begin() + 0x10, image.begin() + 0x11), {0x90})});
  const std::string path = WriteNamed("Plain.ptc");
  EXPECT_EQ(Run(false, "300", path), ResultDone);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(ReadBytes(exe)[0x10], 0x90);
  ExpectNoCopies({"Patch_Example#250#.ptc", "Plain.ptc"});
}

TEST(TempPatchPath, PutsTheCopyNextToThePatchFile) {
  EXPECT_EQ(TempPatchPath(JoinPath("folder", "P#1#.ptc")), JoinPath("folder", "temp_P#1#.ptc"));
  EXPECT_EQ(TempPatchPath("P#1#.ptc"), "temp_P#1#.ptc");
  EXPECT_EQ(ActionWord(false), "applying");
  EXPECT_EQ(ActionWord(true), "removing");
  EXPECT_EQ(RemoveNote(false), "");
}

}  // namespace
}  // namespace varnock::testing
