#include "engine/perform_patch.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "target/exe_version.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

class PerformPatchTest : public ::testing::Test {
 protected:
  PerformPatchTest() : image(RandomImage(4096)) {
    Put(image, 0x3C, {0x80, 0, 0, 0});  // PE header offset, time stamp at 0x88
    exe = dir.Write("tomb4.exe", image);
  }

  ResultCode Run(const PatchRecord& patch, bool removing, const RewriteHooks* hooks = nullptr) {
    const std::string path = dir.File("patch.ptc");
    EXPECT_TRUE(WritePatchFile(path, patch));
    return PerformPatch(path, exe, removing, version, loaded, ui, hooks);
  }

  // Two zones taken from the image as it stands.
  PatchRecord TwoZones(std::int32_t flags = 0) const {
    return Patch(flags, {Zone(100, Slice(100, 4), {1, 2, 3, 4}), Zone(300, Slice(300, 2), {5, 6})});
  }
  Bytes Slice(std::size_t at, std::size_t size) const {
    return Bytes(image.begin() + static_cast<long>(at),
                 image.begin() + static_cast<long>(at + size));
  }
  Bytes Applied() const {
    Bytes applied = image;
    Put(applied, 100, {1, 2, 3, 4});
    Put(applied, 300, {5, 6});
    return applied;
  }

  TempDir dir;
  RecordingUi ui;
  Bytes image;
  std::string exe;
  std::string version;
  PatchRecord loaded;
};

TEST_F(PerformPatchTest, AppliesAndRemovesAndKnowsWhenThatIsAlreadyDone) {
  const PatchRecord patch = TwoZones();
  EXPECT_EQ(Run(patch, false), ResultDone);
  EXPECT_EQ(ReadBytes(exe), Applied());
  EXPECT_EQ(Run(patch, false), ResultAlreadyDone);
  EXPECT_EQ(ReadBytes(exe), Applied());
  EXPECT_EQ(Run(patch, true), ResultDone);
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_EQ(Run(patch, true), ResultAlreadyDone);
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(Leftovers(dir.path(), {"tomb4.exe", "patch.ptc"}).empty());
}

TEST_F(PerformPatchTest, AZoneThatDoesNotMatchLeavesTheFileByteIdentical) {
  const PatchZone first = TwoZones().Zones[0];
  // The first zone succeeds, the second fails.
  PatchRecord patch = Patch(0, {first, Zone(300, {0xDE, 0xAD}, {5, 6})});
  EXPECT_EQ(Run(patch, false), ResultFailed);
  Bytes pastTheEnd = Slice(4094, 2);  // the second zone reaches past the end of the file
  pastTheEnd.push_back(0);
  patch = Patch(0, {first, Zone(4094, pastTheEnd, {0, 0, 0})});
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
  EXPECT_EQ(rewrites, 1);

  patch = Patch(RecordAlignment, {patch.Zones[0]});
  EXPECT_EQ(Run(patch, false, &hooks), ResultDone);
  EXPECT_EQ(Run(Patch(0, {}), true, &hooks), ResultDone);
  EXPECT_EQ(rewrites, 1) << "a patch without zones to write does not rewrite the file";
  EXPECT_EQ(ReadBytes(exe), expected);
}

TEST_F(PerformPatchTest, VersionBoundPatchesMatchTheSignatureIgnoringLetterCase) {
  const std::string signature = GetExeVersion(exe, ui);
  ASSERT_NE(signature, "ERROR");
  ASSERT_NE(signature, "");
  PatchRecord patch = TwoZones(SameExeVersionOnly);
  patch.ExeVersion = signature + "x";
  EXPECT_EQ(Run(patch, false), ResultFailed);
  EXPECT_EQ(version, signature) << "the computed signature is handed back";
  EXPECT_EQ(ReadBytes(exe), image);

  patch.ExeVersion = signature;
  for (char& c : patch.ExeVersion) {
    c = static_cast<char>(std::islower(static_cast<unsigned char>(c)) ? std::toupper(c)
                                                                      : std::tolower(c));
  }
  version.clear();
  EXPECT_EQ(Run(patch, false), ResultDone);
  EXPECT_EQ(ReadBytes(exe), Applied());

  version = "cached and different";  // a cached signature is used as it stands
  EXPECT_EQ(Run(patch, true), ResultFailed);
  EXPECT_EQ(ReadBytes(exe), Applied());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PerformPatchTest, ASignatureThatCannotBeComputedNeverMatches) {
  Put(image, 0x3C, {0x9C, 0xFF, 0xFF, 0xFF});  // time stamp before the start of the file
  dir.Write("tomb4.exe", image);
  PatchRecord patch = TwoZones(SameExeVersionOnly);
  patch.ExeVersion = "ERROR";
  EXPECT_EQ(Run(patch, false), ResultFailed);
  EXPECT_EQ(version, "ERROR");
  ASSERT_EQ(ui.messages.size(), 1U);  // the signature's own message, nothing from the engine
  EXPECT_EQ(ui.messages[0].text.rfind("ERROR trying to compute version of file: ", 0), 0U);
  EXPECT_EQ(ReadBytes(exe), image);
}

TEST_F(PerformPatchTest, MissingOrEmptyFilesGiveOneClearMessage) {
  exe = dir.File("absent.exe");
  EXPECT_EQ(Run(TwoZones(), false), ResultFailed);
  EXPECT_TRUE(OnlyGeneralFailure(ui)) << ::testing::PrintToString(ui.Texts());

  ui.Clear();
  exe = dir.Write("empty.exe", {});
  EXPECT_EQ(Run(TwoZones(), false), ResultFailed);
  EXPECT_TRUE(OnlyGeneralFailure(ui)) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ReadBytes(exe), Bytes{});

  ui.Clear();
  EXPECT_EQ(PerformPatch(dir.File("none.ptc"), exe, false, version, loaded, ui), ResultFailed);
  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + dir.File("none.ptc")));
}

// Refusals that hold for every user, the system administrator included.
// Read-only marks and crashes are made with POSIX calls here; the Windows suite has its own.
#ifndef _WIN32
TEST_F(PerformPatchTest, AFileThatCannotBeRewrittenIsLeftUntouched) {
  ASSERT_EQ(::chmod(exe.c_str(), 0444), 0);
  EXPECT_EQ(Run(TwoZones(), false), ResultFailed);
  EXPECT_TRUE(OnlyGeneralFailure(ui)) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ReadBytes(exe), image);
  ASSERT_EQ(::chmod(exe.c_str(), 0644), 0);

  ui.Clear();
  RewriteHooks fullDisk;
  fullDisk.allow_write = [](std::size_t, std::size_t) { return false; };
  EXPECT_EQ(Run(TwoZones(), false, &fullDisk), ResultFailed);
  EXPECT_TRUE(OnlyGeneralFailure(ui)) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_TRUE(Leftovers(dir.path(), {"tomb4.exe", "patch.ptc"}).empty());
}

TEST_F(PerformPatchTest, ACrashInTheMiddleOfTheRewriteKeepsTheOldFile) {
  const PatchRecord patch = TwoZones();
  const std::string path = dir.File("patch.ptc");
  ASSERT_TRUE(WritePatchFile(path, patch));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RewriteHooks crash;
    crash.before_replace = [](const std::string&) { ::_exit(42); };
    PerformPatch(path, exe, false, version, loaded, ui, &crash);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 42) << "the crash came before the replace";
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_EQ(Run(patch, false), ResultDone) << "the file is still usable";
}

#endif  // _WIN32

}  // namespace
}  // namespace varnock::testing
