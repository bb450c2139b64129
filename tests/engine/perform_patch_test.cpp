#include "engine/perform_patch.h"

#include "target/exe_version.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

// Read-only files and crashes in the middle of a rewrite are tested in tests/fault.
class PerformPatchTest : public ImageTest {
 protected:
  ResultCode Run(const PatchRecord& patch, bool removing, const RewriteHooks* hooks = nullptr) {
    EXPECT_TRUE(WritePatchFile(dir.File("patch.ptc"), patch));
    return PerformPatch(dir.File("patch.ptc"), exe, removing, version, loaded, ui, hooks);
  }

  std::string version;
  PatchRecord loaded;
};

TEST_F(PerformPatchTest, AZoneThatDoesNotMatchLeavesTheFileByteIdentical) {
  const PatchZone first = TwoZones().Zones[0];
  EXPECT_EQ(Run(Patch(0, {first, Zone(300, {0xDE, 0xAD}, {5, 6})}), false), ResultFailed);
  Bytes pastTheEnd = Slice(4094, 2);
  pastTheEnd.push_back(0);
  const PatchRecord patch = Patch(0, {first, Zone(4094, pastTheEnd, {0, 0, 0})});
  EXPECT_EQ(Run(patch, false), ResultFailed);
  EXPECT_EQ(ReadBytes(exe), image);

  // The first zone already applied decides, whatever the later ones hold.
  Put(image, 100, {1, 2, 3, 4});
  dir.Write("tomb4.exe", image);
  EXPECT_EQ(Run(patch, false), ResultAlreadyDone);
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PerformPatchTest, UnverifiedZonesAreWrittenWhateverIsInPlace) {
  const PatchRecord patch = TwoZones(DontVerifySource);
  EXPECT_EQ(Run(patch, false), ResultDone);
  EXPECT_EQ(Run(patch, false), ResultDone);
  EXPECT_EQ(ReadBytes(exe), Applied());
  dir.Write("tomb4.exe", RandomImage(4096, 99));
  EXPECT_EQ(Run(patch, true), ResultDone);
  Bytes expected = RandomImage(4096, 99);
  Put(expected, 100, Slice(100, 4));
  Put(expected, 300, Slice(300, 2));
  EXPECT_EQ(ReadBytes(exe), expected);
}

TEST_F(PerformPatchTest, TheAlignmentRecordIsNeverWrittenAndEmptyPatchesWriteNothing) {
  int rewrites = 0;
  RewriteHooks hooks;
  hooks.before_replace = [&](const std::string&) { ++rewrites; };
  // The alignment record's bytes are not even verified.
  PatchRecord patch =
      Patch(RecordAlignment, {Zone(100, {9, 9, 9, 9}, {1, 2, 3, 4}), TwoZones().Zones[1]});
  EXPECT_EQ(Run(patch, false, &hooks), ResultDone);
  Bytes expected = image;
  Put(expected, 300, {5, 6});
  EXPECT_EQ(ReadBytes(exe), expected);
  EXPECT_EQ(Run(Patch(RecordAlignment, {patch.Zones[0]}), false, &hooks), ResultDone);
  EXPECT_EQ(Run(Patch(0, {}), true, &hooks), ResultDone);
  EXPECT_EQ(rewrites, 1) << "a patch without zones to write does not rewrite the file";
  EXPECT_EQ(ReadBytes(exe), expected);
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
  version = "cached and different";  // a cached signature is used as it stands
  EXPECT_EQ(Run(patch, true), ResultFailed);
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

TEST_F(PerformPatchTest, MissingOrEmptyFilesGiveOneClearMessage) {
  for (const std::string& target : {dir.File("absent.exe"), dir.Write("empty.exe", {})}) {
    ui.Clear();
    exe = target;
    EXPECT_EQ(Run(TwoZones(), false), ResultFailed);
    EXPECT_TRUE(OnlyGeneralFailure(ui)) << ::testing::PrintToString(ui.Texts());
  }
  EXPECT_EQ(ReadBytes(exe), Bytes{});
  ui.Clear();
  EXPECT_EQ(PerformPatch(dir.File("none.ptc"), exe, false, version, loaded, ui), ResultFailed);
  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + dir.File("none.ptc")));
}

}  // namespace
}  // namespace varnock::testing
