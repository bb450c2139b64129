// varnock-cli.exe on a real Windows executable, run as its own process the way a batch file
// runs it: each command once, and what only Windows brings (marks, held files, wide names).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"
#include "tests/windows_only/win32_helpers.h"

namespace varnock::testing {
namespace {

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
    std::for_each(patched_.begin() + kOffset, patched_.begin() + kOffset + kLength,
                  [](std::uint8_t& byte) { byte = static_cast<std::uint8_t>(~byte); });
  }

  // A patch for tomb4.exe that turns the bytes at kOffset into their complement, made by
  // varnock-cli from two copies of the engine.
  std::string WritePatchAt(const std::string& path) {
    const std::string original = scratch_.Write("original\\tomb4.exe", original_);
    const std::string modified = scratch_.Write("modified\\tomb4.exe", patched_);
    EXPECT_EQ(Cli("create " + Quoted(original) + " " + Quoted(modified) + " -o " +
                  Quoted(dir_.File(path))),
              0);
    return dir_.File(path);
  }

  // Runs varnock-cli with the arguments (already quoted where needed) in `folder` (by default
  // the test's folder).
  int Cli(const std::string& arguments, const std::string& folder = {}) {
    return RunProgram(Quoted(cli_) + " " + arguments, output_,
                      folder.empty() ? dir_.path() : folder);
  }
  bool Said(const std::string& text) const {
    const Bytes bytes = ReadBytes(output_);
    return std::string(bytes.begin(), bytes.end()).find(text) != std::string::npos;
  }

  std::string cli_;
  TempDir dir_;
  TempDir scratch_;  // the output and the copies a patch is made from
  const std::string output_ = scratch_.File("output.txt");
  Bytes original_;
  Bytes patched_;
};

// Every patch command on a hidden executable in a folder whose name holds blanks and letters
// the ANSI code page cannot spell: the arguments are taken from the wide command line, relative
// ones from the current folder, with ".." folded as text as Windows folds it.
TEST_F(CliOnWindows, EveryPatchCommandOnAHiddenExecutableInAFolderOutsideTheCodePage) {
  const std::string folder = dir_.File("\xCE\xA9mega Design");  // "Ωmega Design"
  const std::string exe = dir_.Write("\xCE\xA9mega Design\\tomb4.exe", original_);
  SetAttributes(exe, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  const std::string patch = WritePatchAt("\xCE\xA9mega Design\\complement.ptc");
  EXPECT_EQ(Cli("status . tomb4.exe", folder), 0);
  EXPECT_TRUE(Said("not-applied    complement.ptc"));
  EXPECT_EQ(ReadBytes(exe), original_);
  EXPECT_EQ(Cli("apply complement.ptc tomb4.exe", folder), 0);
  EXPECT_TRUE(Said("Ok: applying patch operation has been performed"));
  EXPECT_EQ(ReadBytes(exe), patched_);
  EXPECT_EQ(Cli("apply .\\complement.ptc tomb4.exe", folder), 3);
  EXPECT_TRUE(Said("WARNING: applying patch operation was already been performed"));
  EXPECT_EQ(Cli("remove missing\\..\\complement.ptc " +
                    Quoted("..\\" + GetFileName(folder) + "\\tomb4.exe"),
                folder),
            0);
  EXPECT_EQ(ReadBytes(exe), original_);
  EXPECT_EQ(AttributesOf(exe), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(FilesIn(folder), (Paths{patch, exe}));
}

// A read-only executable, one the running game holds, a folder, and an argument the patch does
// not take: each is told and left byte-identical, and nothing is left beside it.
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
    const HeldFile game = Hold(exe, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(game);
    EXPECT_EQ(Cli("apply " + both), 1);
  }
  EXPECT_EQ(Cli("apply " + Quoted(patch) + " " + Quoted(dir_.path())), 1);
  EXPECT_TRUE(Said("the path names a folder, not a file"));
  EXPECT_EQ(Cli("apply " + both + " --arg 9"), 2);
  EXPECT_EQ(ReadBytes(exe), original_);
  EXPECT_EQ(FilesIn(dir_.path()), (Paths{patch, exe}));
}

}  // namespace
}  // namespace varnock::testing
