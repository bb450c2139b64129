// varnock-cli.exe on a real Windows executable, run as its own process the way a batch file
// runs it: each command once, and what only Windows brings (marks, held files, wide names).
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
using testing::SetAttributes;
using Paths = std::vector<std::string>;

constexpr std::int32_t kOffset = 0x40;
constexpr std::int32_t kLength = 8;

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

class CliOnWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    // A cross build knows the host's path, which Wine shows on drive Z:.
    cli_ = VARNOCK_CLI_PATH;
    std::replace(cli_.begin(), cli_.end(), '/', '\\');
    cli_ = cli_.starts_with("\\") && !cli_.starts_with("\\\\") ? "Z:" + cli_ : cli_;
    // A real program of this system stands in for the game's engine.
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    original_ = ReadWholeFile(JoinPath(FromFsPath(system), "notepad.exe"));
    ASSERT_GT(original_.size(), static_cast<std::size_t>(kOffset + kLength));
    patched_ = original_;
    for (std::int32_t i = kOffset; i < kOffset + kLength; ++i) {
      patched_[i] = static_cast<std::uint8_t>(~patched_[i]);
    }
  }

  // A patch for tomb4.exe that turns the bytes at kOffset into their complement; with an
  // argument, one byte of them becomes the argument.
  std::string WritePatchAt(const std::string& path, bool argument = false) const {
    PatchZone zone;
    zone.Offset = kOffset;
    zone.Length = kLength;
    zone.OriginalBytes.assign(original_.begin() + kOffset, original_.begin() + kOffset + kLength);
    zone.PatchBytes.assign(patched_.begin() + kOffset, patched_.begin() + kOffset + kLength);
    PatchRecord patch;
    patch.ZoneCount = 1;
    patch.Description = "Complements eight bytes.";
    patch.ExeName = "tomb4.exe";
    patch.Zones = {zone};
    if (argument) {
      patch.Flags = HasArgument;
      patch.ArgOffsetCount = 1;
      patch.ArgOffsets = {kOffset + 1};
      patch.ArgType = NumByte;
    }
    EXPECT_TRUE(WritePatchFile(dir_.File(path), patch));
    return dir_.File(path);
  }

  // Runs varnock-cli with the arguments (already quoted where needed) in `folder`.
  int Cli(const std::string& arguments, const std::string& folder = {}) {
    return testing::RunProgram(Quoted(cli_) + " " + arguments, output_, folder);
  }
  bool Said(const std::string& text) const {
    const Bytes bytes = ReadBytes(output_);
    return std::string(bytes.begin(), bytes.end()).find(text) != std::string::npos;
  }
  Paths Everything(const std::string& folder) const {
    std::int32_t count = 0;
    return ListFiles(folder, "*", count);
  }

  std::string cli_;
  testing::TempDir dir_;
  testing::TempDir outputDir_;
  const std::string output_ = outputDir_.File("output.txt");
  Bytes original_;
  Bytes patched_;
};

TEST_F(CliOnWindows, EveryPatchCommandOnAHiddenExecutableInAFolderWithBlanks) {
  const std::string exe = dir_.Write("Core Design\\trle\\tomb4.exe", original_);
  SetAttributes(exe, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  const std::string patch = WritePatchAt("Core Design\\complement.ptc");
  const std::string both = Quoted(patch) + " " + Quoted(exe);
  const std::string status = "status " + Quoted(GetParentFolder(patch)) + " " + Quoted(exe);

  EXPECT_EQ(Cli("check " + both + " --json"), 0);
  EXPECT_TRUE(Said("\"would\": \"done\""));
  EXPECT_EQ(Cli(status), 0);
  EXPECT_TRUE(Said("not-applied    complement.ptc"));
  EXPECT_EQ(ReadBytes(exe), original_);
  EXPECT_EQ(Cli("apply " + both), 0);
  EXPECT_TRUE(Said("Ok: applying patch operation has been performed"));
  EXPECT_EQ(ReadBytes(exe), patched_);
  EXPECT_EQ(Cli("apply " + both), 3);
  EXPECT_TRUE(Said("WARNING: applying patch operation was already been performed"));
  EXPECT_EQ(Cli(status + " --json"), 0);
  EXPECT_TRUE(Said("\"status\": \"applied\""));
  EXPECT_EQ(Cli("remove " + both), 0);
  EXPECT_EQ(ReadBytes(exe), original_);
  EXPECT_EQ(AttributesOf(exe), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(Everything(GetParentFolder(exe)), Paths{exe});
}

// The arguments are taken from the wide command line, so every name reaches its file, even one
// that the ANSI code page cannot spell; relative ones are taken from the current folder, with
// ".." folded as text as Windows folds it.
TEST_F(CliOnWindows, RelativePathsAndPathsOutsideTheCodePageReachTheFiles) {
  const std::string folder = dir_.File("\xCE\xA9mega");  // "Ωmega"
  const std::string exe = dir_.Write("\xCE\xA9mega\\tomb4.exe", original_);
  WritePatchAt("\xCE\xA9mega\\complement.ptc");
  EXPECT_EQ(Cli("apply complement.ptc tomb4.exe", folder), 0);
  EXPECT_EQ(ReadBytes(exe), patched_);
  EXPECT_EQ(Cli("remove .\\complement.ptc ..\\\xCE\xA9mega\\tomb4.exe", folder), 0);
  EXPECT_EQ(ReadBytes(exe), original_);
  EXPECT_EQ(Cli("apply missing\\..\\complement.ptc missing\\..\\tomb4.exe", folder), 0);
  EXPECT_EQ(ReadBytes(exe), patched_);
}

TEST_F(CliOnWindows, WhatCannotBePatchedIsToldAndLeftByteIdentical) {
  const std::string exe = dir_.Write("tomb4.exe", original_);
  const std::string patch = WritePatchAt("complement.ptc");
  const std::string both = Quoted(patch) + " " + Quoted(exe);
  SetAttributes(exe, FILE_ATTRIBUTE_READONLY);
  const DWORD readOnly = AttributesOf(exe);
  EXPECT_EQ(Cli("apply " + both), 1);
  EXPECT_TRUE(Said("ERROR: cann't applying the patch"));
  EXPECT_EQ(AttributesOf(exe), readOnly);
  SetAttributes(exe, FILE_ATTRIBUTE_NORMAL);
  {
    // The game is running and holds its executable without letting anyone write it.
    const testing::HeldFile game(exe, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(game.valid());
    EXPECT_EQ(Cli("apply " + both), 1);
  }
  EXPECT_EQ(Cli("apply " + Quoted(patch) + " " + Quoted(dir_.path())), 1);
  EXPECT_TRUE(Said("the path names a folder, not a file"));
  EXPECT_EQ(Cli("apply " + both + " --arg 9"), 2);  // the patch takes no argument
  EXPECT_EQ(ReadBytes(exe), original_);
  EXPECT_EQ(Everything(dir_.path()), (Paths{patch, exe}));
}

// The argument is written into a temporary copy of the patch. Whatever already has that copy's
// name, a file of the user's or a folder, is left as it is, and no copy stays.
TEST_F(CliOnWindows, TheArgumentGoesInAndNoTemporaryPatchStays) {
  const std::string exe = dir_.Write("tomb4.exe", original_);
  const std::string both = Quoted(WritePatchAt("speed#7#.ptc", true)) + " " + Quoted(exe);
  const std::string taken = dir_.File("temp_speed#9#.ptc");
  Bytes expected = patched_;
  expected[kOffset + 1] = 9;
  for (const int takenBy : {0, 1, 2}) {  // nothing, a file, a folder
    if (takenBy == 1) {
      dir_.WriteText("temp_speed#9#.ptc", "my notes");
    } else if (takenBy == 2) {
      RemoveFile(taken);
      ASSERT_TRUE(CreateDirectoryW(testing::Wide(taken).c_str(), nullptr));
    }
    EXPECT_EQ(Cli("apply " + both + " --arg 9"), 0);
    EXPECT_EQ(ReadBytes(exe), expected);
    EXPECT_EQ(Cli("remove " + both + " --arg 9"), 0);
    EXPECT_EQ(ReadBytes(exe), original_);
    std::int32_t count = 0;
    EXPECT_EQ(ListFiles(dir_.path(), "temp_*", count).size(), takenBy == 1 ? 1U : 0U);
    if (takenBy == 1) {
      EXPECT_EQ(ReadBytes(taken), testing::ToBytes("my notes"));
    }
  }
  EXPECT_TRUE(FolderExists(taken));
}

// A patch made from two copies of a program, through its readable source and back.
TEST_F(CliOnWindows, CreateDecompileAndCompileKeepThePatchByteForByte) {
  const std::string original = dir_.Write("Core Design\\original\\tomb4.exe", original_);
  const std::string modified = dir_.Write("Core Design\\modified\\tomb4.exe", patched_);
  const std::string patch = dir_.File("made.ptc");
  const std::string create = "create " + Quoted(original) + " " + Quoted(modified) + " -o " +
                             Quoted(patch) + " --description \"Complements eight bytes.\"";
  ASSERT_EQ(Cli(create), 0);
  EXPECT_EQ(Cli(create), 1);
  EXPECT_TRUE(Said("already exists; give --force to replace it"));
  ASSERT_EQ(Cli("decompile " + Quoted(patch) + " -o " + Quoted(dir_.File("made.txt"))), 0);
  ASSERT_EQ(Cli("compile " + Quoted(dir_.File("made.txt")) + " -o " + Quoted(dir_.File("a.ptc"))),
            0);
  EXPECT_EQ(ReadBytes(dir_.File("a.ptc")), ReadBytes(patch));
  const std::string exe = dir_.Write("game\\tomb4.exe", original_);
  EXPECT_EQ(Cli("apply " + Quoted(dir_.File("a.ptc")) + " " + Quoted(exe)), 0);
  EXPECT_EQ(ReadBytes(exe), patched_);
}

}  // namespace
}  // namespace varnock
