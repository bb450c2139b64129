#include "author/create_patch.h"

#include <gtest/gtest.h>

#include "support/paths.h"
#include "tests/engine/engine_fixture.h"

namespace varnock {
namespace {

class CreatePatchTest : public ::testing::Test {
 protected:
  // Random bytes whose header offset puts the build date inside the file.
  CreatePatchTest() : original_(testing::RandomImage(4096, 7)) {
    testing::Put(original_, 0x3C, {0x80, 0, 0, 0});
  }
  // Makes the patch from the two images; false when it was refused.
  bool Create(const Bytes& modified, const PatchOptions& options = {},
              const std::string& name = "tomb4.exe") {
    const std::string originalPath = dir_.Write(JoinPath("original", name), original_);
    const std::string modifiedPath = dir_.Write(JoinPath("modified", name), modified);
    return CreatePatch(originalPath, modifiedPath, options, patch_, ui_);
  }

  testing::TempDir dir_;
  Bytes original_;
  PatchRecord patch_;
  testing::RecordingUi ui_;
};

TEST_F(CreatePatchTest, TheTargetItsSignatureAndTheOptionsAreRecorded) {
  Bytes modified = original_;
  modified[3000] ^= 1;
  ASSERT_TRUE(
      Create(modified, {"TOM2PC", false, true, "\xEF\xBB\xBFOne\nTwo\n\n"}, "converter copy.exe"));
  EXPECT_EQ(patch_.ExeName, "tom2pc.exe");
  // Probed as the converter, not as a program of unknown name ("??_").
  EXPECT_EQ(patch_.ExeVersion.rfind("TP_M_S:N1F000 (", 0), 0u) << patch_.ExeVersion;
  EXPECT_EQ(patch_.Flags, SameExeVersionOnly);
  EXPECT_EQ(patch_.Description, "One\r\nTwo");
  EXPECT_EQ(patch_.ZoneCount(), 1);
  EXPECT_TRUE(ui_.messages.empty());

  ASSERT_TRUE(Create(modified, {"", true, true, "Windows\r\nlines\r\n"}));
  EXPECT_EQ(patch_.ExeName, "tomb4.exe");
  EXPECT_EQ(patch_.Flags, Dynamic | SameExeVersionOnly);
  EXPECT_EQ(patch_.Description, "Windows\r\nlines");
}

TEST_F(CreatePatchTest, WhatCannotBeAPatchIsRefusedWithAClearMessage) {
  Bytes changed = original_;
  changed[50] ^= 1;
  const auto unknown = [](const std::string& name) {
    return "ERROR: cannot tell the target program from " + name +
           ": expected tomb4.exe, tom2pc.exe, winroomedit.exe or script.exe, or the program "
           "named separately";
  };
  const struct {
    Bytes modified;
    std::string message;
    PatchOptions options = {};
    std::string name = "tomb4.exe";
  } cases[] = {
      {Bytes(changed.begin(), changed.end() - 3),
       "ERROR: the modified executable is 3 bytes shorter than the original (4096 bytes): a "
       "patch never changes the length of a file, so the tail that differs cannot be patched"},
      {original_, "ERROR: the two executables are identical: there is nothing to patch"},
      {changed, unknown("game.exe"), {}, "game.exe"},
      {changed, unknown("tomb5"), {"tomb5", false, false, ""}},
      {changed,
       "ERROR: the description holds characters that the ANSI code page cannot hold",
       {"", false, false, "\xCE\xA9"}},
  };
  for (const auto& c : cases) {
    ui_.Clear();
    EXPECT_FALSE(Create(c.modified, c.options, c.name)) << c.message;
    EXPECT_TRUE(ui_.OnlyCritical(c.message)) << ui_.Texts().front();
  }
}

}  // namespace
}  // namespace varnock
