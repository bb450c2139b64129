// An executable is rewritten in place through a temporary file that replaces it: the file
// keeps what Windows records about it besides its bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/safe_rewrite.h"
#include "tests/common/faulty_rewrite.h"
#include "tests/common/temp_dir.h"
#include "tests/windows_only/win32_helpers.h"

namespace varnock::testing {
namespace {

using Paths = std::vector<std::string>;

const Bytes kOld = ToBytes("MZ old bytes");
const Bytes kNew = ToBytes("MZ new bytes");

// A file with a second name (a hard link) is written in place: both names see the new bytes.
TEST(RewriteOnWindows, EveryNameOfTheFileSeesTheNewBytes) {
  TempDir dir;
  const std::string exe = dir.Write("tomb4.exe", kOld);
  const std::string other = dir.File("other.exe");
  ASSERT_TRUE(CreateHardLinkW(Wide(other).c_str(), Wide(exe).c_str(), nullptr));
  std::string error;
  ASSERT_TRUE(RewriteFile(exe, kNew, error)) << error;
  EXPECT_EQ(ReadBytes(exe), kNew);
  EXPECT_EQ(ReadBytes(other), kNew);
  EXPECT_EQ(FilesIn(dir.path()).size(), 2U);
}

TEST(RewriteOnWindows, RunningProgramsExecutableReadOpenElsewhereIsReplacedOrKeptWhole) {
  // The game holds its executable open for reading while it runs; the rewrite then either
  // succeeds whole or leaves the old bytes, never anything in between.
  TempDir dir;
  const std::string exe = dir.Write("tomb4.exe", kOld);
  std::string error;
  bool rewritten = false;
  {
    const auto running = Hold(exe, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE);
    ASSERT_TRUE(running);
    WriteFaults impatient;
    impatient.wait = std::chrono::milliseconds(50);
    rewritten = RewriteFileWith(impatient, exe, kNew, error);
  }
  EXPECT_EQ(ReadBytes(exe), rewritten ? kNew : kOld) << error;
  EXPECT_EQ(rewritten, error.empty()) << error;
  EXPECT_EQ(FilesIn(dir.path()), Paths{exe});
}

// The new bytes wait in a hidden file while no other program may write the old one, and then
// replace it. A hidden copy left by a program that ended goes;
// one of a program still running, and a file of the user's named alike, stay.
TEST(RewriteOnWindows, NewBytesWaitInAHiddenCopyAndStaleCopiesGo) {
  TempDir dir;
  const std::string exe = dir.Write("tomb4.exe", kOld);
  const std::string stale = dir.WriteText(".tomb4.exe.varnock-999996-17", "left over");
  const Paths kept = {
      dir.WriteText(".tomb4.exe.varnock-" + std::to_string(GetCurrentProcessId()) + "-5", "in use"),
      dir.WriteText(".tomb4.exe.varnock-notes.txt", "user data")};
  std::string seenTemporary;
  WriteFaults hooks;
  hooks.before_replace = [&](const std::string& temporary) {
    seenTemporary = temporary;
    EXPECT_NE(AttributesOf(temporary) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_FALSE(Hold(exe, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
  };
  std::string error;
  ASSERT_TRUE(RewriteFileWith(hooks, exe, kNew, error)) << error;
  EXPECT_FALSE(seenTemporary.empty());
  EXPECT_EQ(ReadBytes(exe), kNew);
  EXPECT_FALSE(FileExists(stale));
  EXPECT_FALSE(FileExists(seenTemporary));
  for (const std::string& path : kept) {
    EXPECT_TRUE(FileExists(path)) << path;
  }
}

}  // namespace
}  // namespace varnock::testing
