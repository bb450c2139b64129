#include "engine/perform_patch.h"

#include "target/exe_version.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

// Read-only files and crashes in the middle of a rewrite are tested in tests/fault.
class PerformPatchTest : public ImageTest {
 protected:
  ResultCode Run(const PatchRecord& patch, bool removing) {
    EXPECT_TRUE(WritePatchFile(dir.File("patch.ptc"), patch));
    return PerformPatch(dir.File("patch.ptc"), exe, removing, version, loaded, {.ui = ui});
  }

  std::string version;
  PatchRecord loaded;
};

// Which zones fit, and what apply and remove then write, is tested over random patches in
// judge_property_test. An empty executable fails with one message (a missing one is tested in
// tests/fault).
TEST_F(PerformPatchTest, AnEmptyExecutableFailsWithOneMessage) {
  exe = dir.Write("empty.exe", {});
  EXPECT_EQ(Run(TwoZones(), false), ResultFailed);
  EXPECT_TRUE(OnlyGeneralFailure(ui)) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ReadBytes(exe), Bytes{});
}

TEST_F(PerformPatchTest, VersionBoundPatchesMatchTheSignatureIgnoringLetterCase) {
  const std::string signature = GetExeVersion(exe, ui);
  PatchRecord patch = TwoZones(SameExeVersionOnly);
  patch.ExeVersion = signature + "x";
  EXPECT_EQ(Run(patch, false), ResultFailed);
  EXPECT_EQ(version, signature) << "the computed signature is handed back";
  EXPECT_EQ(ReadBytes(exe), image);

  patch.ExeVersion = signature;
  std::ranges::transform(patch.ExeVersion, patch.ExeVersion.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  version.clear();
  EXPECT_EQ(Run(patch, false), ResultDone);
  EXPECT_EQ(ReadBytes(exe), Applied());
  EXPECT_TRUE(ui.messages.empty());

  Put(image, 0x3C, {0x9C, 0xFF, 0xFF, 0xFF});  // time stamp before the start of the file
  dir.Write("tomb4.exe", image);
  patch.ExeVersion = "ERROR";  // a signature that cannot be computed never matches
  version.clear();
  EXPECT_EQ(Run(patch, false), ResultFailed);
  EXPECT_EQ(version, "ERROR");
  ASSERT_EQ(ui.messages.size(), 1U);  // the signature's own message, nothing from the engine
  EXPECT_EQ(ui.messages[0].text.rfind("ERROR trying to compute version of file: ", 0), 0U);
  EXPECT_EQ(ReadBytes(exe), image);
}

}  // namespace
}  // namespace varnock::testing
