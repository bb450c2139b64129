// varnock-cli.exe applies and removes a patch on a real Windows executable, run as its own
// process the way a batch file runs it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "patchfile/patch_writer.h"
#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"
#include "tests/windows/win32_helpers.h"

namespace varnock {
namespace {

using testing::AttributesOf;
using testing::ReadBytes;
using testing::RunProgram;
using testing::SetAttributes;
using testing::TempDir;

constexpr std::int32_t kOffset = 0x40;
constexpr std::int32_t kLength = 8;

// The program's path as the build knows it. A cross build knows the host's path, which Wine
// shows on drive Z:.
std::string CliPath() {
  std::string path = VARNOCK_CLI_PATH;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path.starts_with("\\") && !path.starts_with("\\\\") ? "Z:" + path : path;
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

class CliOnWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FileExists(CliPath())) << CliPath();
    // A real program of this system stands in for the game's engine.
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    original_ = ReadWholeFile(JoinPath(testing::Narrow(system), "notepad.exe"));
    ASSERT_GT(original_.size(), static_cast<std::size_t>(kOffset + kLength));
    ASSERT_EQ(original_[0], 'M');
  }

  // A patch for tomb4.exe that turns the bytes at kOffset into their complement.
  PatchRecord ComplementPatch() const {
    PatchZone zone;
    zone.Offset = kOffset;
    zone.Length = kLength;
    zone.OriginalBytes.assign(original_.begin() + kOffset, original_.begin() + kOffset + kLength);
    for (const std::uint8_t byte : zone.OriginalBytes) {
      zone.PatchBytes.push_back(static_cast<std::uint8_t>(~byte));
    }
    PatchRecord patch;
    patch.ZoneCount = 1;
    patch.Description = "Complements eight bytes.";
    patch.ExeName = "tomb4.exe";
    patch.Zones = {zone};
    return patch;
  }

  Bytes Patched() const {
    Bytes patched = original_;
    for (std::int32_t i = kOffset; i < kOffset + kLength; ++i) {
      patched[i] = static_cast<std::uint8_t>(~patched[i]);
    }
    return patched;
  }

  // Runs varnock-cli with the arguments (already quoted where needed) in `folder`.
  int Cli(const std::string& arguments, const std::string& folder = {}) {
    return RunProgram(Quoted(CliPath()) + " " + arguments, output_, folder);
  }
  std::string Output() const {
    const Bytes bytes = ReadBytes(output_);
    return std::string(bytes.begin(), bytes.end());
  }

  TempDir dir_;
  TempDir outputDir_;
  const std::string output_ = outputDir_.File("output.txt");
  Bytes original_;
};

TEST_F(CliOnWindows, ApplyAndRemoveOnAHiddenExecutableInAFolderWithBlanks) {
  const std::string exe = dir_.Write("Core Design\\trle\\tomb4.exe", original_);
  SetAttributes(exe, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  const std::string patch = dir_.File("Core Design\\complement.ptc");
  ASSERT_TRUE(WritePatchFile(patch, ComplementPatch()));
  const std::string arguments = Quoted(patch) + " " + Quoted(exe);

  EXPECT_EQ(Cli("apply " + arguments), 0) << Output();
  EXPECT_NE(Output().find("Ok: applying patch operation has been performed"), std::string::npos)
      << Output();
  EXPECT_EQ(ReadBytes(exe), Patched());

  EXPECT_EQ(Cli("apply " + arguments), 3) << Output();
  EXPECT_NE(Output().find("WARNING: applying patch operation was already been performed"),
            std::string::npos)
      << Output();
  EXPECT_EQ(ReadBytes(exe), Patched());

  EXPECT_EQ(Cli("remove " + arguments), 0) << Output();
  EXPECT_EQ(ReadBytes(exe), original_);
  EXPECT_EQ(AttributesOf(exe), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  std::int32_t count = 0;
  EXPECT_EQ(ListFiles(GetParentFolder(exe), "*", count), std::vector<std::string>{exe});
}

TEST_F(CliOnWindows, RelativePathsAreTakenFromTheCurrentFolder) {
  dir_.Write("tomb4.exe", original_);
  ASSERT_TRUE(WritePatchFile(dir_.File("complement.ptc"), ComplementPatch()));
  EXPECT_EQ(Cli("apply complement.ptc tomb4.exe", dir_.path()), 0) << Output();
  EXPECT_EQ(ReadBytes(dir_.File("tomb4.exe")), Patched());
  EXPECT_EQ(
      Cli("remove .\\complement.ptc ..\\" + GetFileName(dir_.path()) + "\\tomb4.exe", dir_.path()),
      0)
      << Output();
  EXPECT_EQ(ReadBytes(dir_.File("tomb4.exe")), original_);
  // Windows folds ".." as text before it looks at the folders: so does the program.
  EXPECT_EQ(Cli("apply missing\\..\\complement.ptc missing\\..\\tomb4.exe", dir_.path()), 0)
      << Output();
  EXPECT_EQ(ReadBytes(dir_.File("tomb4.exe")), Patched());
}

TEST_F(CliOnWindows, ReadOnlyOrHeldExecutableIsLeftByteIdentical) {
  const std::string exe = dir_.Write("tomb4.exe", original_);
  const std::string patch = dir_.File("complement.ptc");
  ASSERT_TRUE(WritePatchFile(patch, ComplementPatch()));
  SetAttributes(exe, FILE_ATTRIBUTE_READONLY);
  const DWORD readOnly = AttributesOf(exe);
  EXPECT_EQ(Cli("apply " + Quoted(patch) + " " + Quoted(exe)), 1) << Output();
  EXPECT_NE(Output().find("ERROR: cann't applying the patch"), std::string::npos) << Output();
  EXPECT_EQ(ReadBytes(exe), original_);
  EXPECT_EQ(AttributesOf(exe), readOnly);

  SetAttributes(exe, FILE_ATTRIBUTE_NORMAL);
  {
    // The game is running and holds its executable without letting anyone write it.
    const testing::HeldFile game(exe, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(game.valid());
    EXPECT_EQ(Cli("apply " + Quoted(patch) + " " + Quoted(exe)), 1) << Output();
  }
  EXPECT_EQ(ReadBytes(exe), original_);
  std::int32_t count = 0;
  EXPECT_EQ(ListFiles(dir_.path(), "*", count), (std::vector<std::string>{patch, exe}));
}

TEST_F(CliOnWindows, ArgumentGoesIntoTheExecutableAndNoTemporaryPatchStays) {
  PatchRecord patch = ComplementPatch();
  patch.Flags = HasArgument;
  patch.ArgOffsetCount = 1;
  patch.ArgOffsets = {kOffset + 1};
  patch.ArgType = NumByte;
  const std::string exe = dir_.Write("tomb4.exe", original_);
  const std::string patchPath = dir_.File("speed#7#.ptc");
  ASSERT_TRUE(WritePatchFile(patchPath, patch));
  EXPECT_EQ(Cli("apply " + Quoted(patchPath) + " " + Quoted(exe) + " --arg 9"), 0) << Output();
  Bytes expected = Patched();
  expected[kOffset + 1] = 9;
  EXPECT_EQ(ReadBytes(exe), expected);
  std::int32_t count = 0;
  EXPECT_TRUE(ListFiles(dir_.path(), "temp_*", count).empty());
  EXPECT_EQ(Cli("remove " + Quoted(patchPath) + " " + Quoted(exe) + " --arg 9"), 0) << Output();
  EXPECT_EQ(ReadBytes(exe), original_);
}

// The status of a folder, a dry run and two patches in one rewrite, as a batch file runs them.
TEST_F(CliOnWindows, StatusCheckAndSeveralPatchesInOneRewrite) {
  const std::string exe = dir_.Write("game\\tomb4.exe", original_);
  const std::string first = dir_.Write("patches\\complement.ptc", WritePatch(ComplementPatch()));
  PatchRecord next = ComplementPatch();
  PatchZone zone = next.Zones[0];
  zone.Offset = kOffset + kLength;  // the eight bytes right after the first patch's
  zone.OriginalBytes.assign(original_.begin() + kOffset + kLength,
                            original_.begin() + kOffset + 2 * kLength);
  zone.PatchBytes.clear();
  for (const std::uint8_t byte : zone.OriginalBytes) {
    zone.PatchBytes.push_back(static_cast<std::uint8_t>(~byte));
  }
  next.Zones = {zone};
  const std::string second = dir_.Write("patches\\next.ptc", WritePatch(next));
  const std::string both = Quoted(first) + " " + Quoted(second) + " " + Quoted(exe);

  EXPECT_EQ(Cli("check " + Quoted(first) + " " + Quoted(exe) + " --json"), 0) << Output();
  EXPECT_NE(Output().find("\"would\": \"done\""), std::string::npos) << Output();
  EXPECT_EQ(ReadBytes(exe), original_);
  EXPECT_EQ(Cli("status " + Quoted(GetParentFolder(first)) + " " + Quoted(exe)), 0) << Output();
  EXPECT_NE(Output().find("not-applied    complement.ptc"), std::string::npos) << Output();

  EXPECT_EQ(Cli("apply " + both), 0) << Output();
  Bytes patched = Patched();
  for (std::int32_t i = kOffset + kLength; i < kOffset + 2 * kLength; ++i) {
    patched[i] = static_cast<std::uint8_t>(~patched[i]);
  }
  EXPECT_EQ(ReadBytes(exe), patched);
  EXPECT_EQ(Cli("status " + Quoted(GetParentFolder(first)) + " " + Quoted(exe) + " --json"), 0);
  EXPECT_NE(Output().find("\"status\": \"applied\""), std::string::npos) << Output();
  EXPECT_EQ(Cli("check " + Quoted(first) + " " + Quoted(exe)), 3) << Output();
  EXPECT_EQ(Cli("remove " + both), 0) << Output();
  EXPECT_EQ(ReadBytes(exe), original_);
  std::int32_t count = 0;
  EXPECT_EQ(ListFiles(GetParentFolder(exe), "*", count), std::vector<std::string>{exe});
}

// Whatever already has the temporary copy's name, a file of the user's or a folder, is left as
// it is, and the patch is applied through a copy of its own.
TEST_F(CliOnWindows, AnEntryUnderTheTemporaryCopysNameIsLeftAlone) {
  PatchRecord patch = ComplementPatch();
  patch.Flags = HasArgument;
  patch.ArgOffsetCount = 1;
  patch.ArgOffsets = {kOffset + 1};
  patch.ArgType = NumByte;
  const std::string exe = dir_.Write("tomb4.exe", original_);
  const std::string patchPath = dir_.File("speed#7#.ptc");
  ASSERT_TRUE(WritePatchFile(patchPath, patch));
  const std::string taken = dir_.File("temp_speed#9#.ptc");
  for (const bool folder : {false, true}) {
    if (folder) {
      ASSERT_TRUE(CreateDirectoryW(testing::Wide(taken).c_str(), nullptr));
    } else {
      testing::WriteText(taken, "my notes");
    }
    EXPECT_EQ(Cli("apply " + Quoted(patchPath) + " " + Quoted(exe) + " --arg 9"), 0) << Output();
    EXPECT_EQ(Cli("remove " + Quoted(patchPath) + " " + Quoted(exe) + " --arg 9"), 0) << Output();
    EXPECT_EQ(ReadBytes(exe), original_);
    EXPECT_EQ(FolderExists(taken), folder);
    std::int32_t count = 0;
    EXPECT_EQ(ListFiles(dir_.path(), "temp_*", count).size(), folder ? 0U : 1U);
    if (!folder) {
      EXPECT_EQ(ReadBytes(taken), Bytes({'m', 'y', ' ', 'n', 'o', 't', 'e', 's'}));
      ASSERT_TRUE(DeleteFileW(testing::Wide(taken).c_str()));
    }
  }
}

TEST_F(CliOnWindows, AFolderAsExecutableAndAnArgumentNoPatchTakesAreTold) {
  const std::string patch = dir_.File("complement.ptc");
  ASSERT_TRUE(WritePatchFile(patch, ComplementPatch()));
  const std::string exe = dir_.Write("tomb4.exe", original_);
  EXPECT_EQ(Cli("apply " + Quoted(patch) + " " + Quoted(dir_.path())), 1) << Output();
  EXPECT_NE(Output().find("the path names a folder, not a file"), std::string::npos) << Output();
  EXPECT_EQ(Cli("apply " + Quoted(patch) + " " + Quoted(exe) + " --arg 9"), 2) << Output();
  EXPECT_EQ(ReadBytes(exe), original_);
}

// The arguments are taken from the wide command line, so every name reaches its file, even one
// that the ANSI code page cannot spell.
TEST_F(CliOnWindows, PathsOutsideAsciiReachTheFiles) {
  // "Éditeur" is in the system code page, "Ωmega" is not.
  for (const std::string folder : {"\xC3\x89"
                                   "diteur",
                                   "\xCE\xA9mega"}) {
    const std::string exe = dir_.Write(folder + "\\tomb4.exe", original_);
    const std::string patch = dir_.File(folder + "\\complement.ptc");
    ASSERT_TRUE(WritePatchFile(patch, ComplementPatch()));
    EXPECT_EQ(Cli("apply " + Quoted(patch) + " " + Quoted(exe)), 0) << folder << Output();
    EXPECT_EQ(ReadBytes(exe), Patched()) << folder;
  }
}

// A patch made from two copies of a program, through its readable source and back, in a folder
// whose name has blanks.
TEST_F(CliOnWindows, CreateDecompileAndCompileKeepThePatchByteForByte) {
  const std::string original = dir_.Write("Core Design\\original\\tomb4.exe", original_);
  const std::string modified = dir_.Write("Core Design\\modified\\tomb4.exe", Patched());
  const std::string patch = dir_.File("made.ptc");
  const std::string source = dir_.File("made.txt");
  const std::string again = dir_.File("again.ptc");
  ASSERT_EQ(Cli("create " + Quoted(original) + " " + Quoted(modified) + " -o " + Quoted(patch) +
                " --description \"Complements eight bytes.\""),
            0)
      << Output();
  EXPECT_EQ(Cli("create " + Quoted(original) + " " + Quoted(modified) + " -o " + Quoted(patch)), 1);
  EXPECT_NE(Output().find("already exists; give --force to replace it"), std::string::npos);
  ASSERT_EQ(Cli("decompile " + Quoted(patch) + " -o " + Quoted(source)), 0) << Output();
  ASSERT_EQ(Cli("compile " + Quoted(source) + " -o " + Quoted(again)), 0) << Output();
  EXPECT_EQ(ReadBytes(again), ReadBytes(patch));

  const std::string exe = dir_.Write("game\\tomb4.exe", original_);
  EXPECT_EQ(Cli("apply " + Quoted(again) + " " + Quoted(exe)), 0) << Output();
  EXPECT_EQ(ReadBytes(exe), Patched());
}

}  // namespace
}  // namespace varnock
