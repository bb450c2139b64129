// An executable is rewritten in place through a temporary file that replaces it: the file
// keeps what Windows records about it besides its bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "support/platform.h"
#include "support/safe_rewrite.h"
#include "tests/common/temp_dir.h"
#include "tests/windows/win32_helpers.h"

namespace varnock {
namespace {

using testing::AttributesOf;
using testing::HeldFile;
using testing::ReadBytes;
using testing::TempDir;
using testing::ToBytes;
using testing::Wide;
using Paths = std::vector<std::string>;

const Bytes kOld = ToBytes("MZ old bytes");
const Bytes kNew = ToBytes("MZ new bytes");

Paths EverythingIn(const TempDir& dir) {
  std::int32_t count = 0;
  return ListFiles(dir.path(), "*", count);
}

TEST(RewriteOnWindows, KeepsTheMarksAndEveryNameOfTheFile) {
  TempDir dir;
  const std::string exe = dir.Write("tomb4.exe", kOld);
  const std::string other = dir.File("other.exe");
  ASSERT_TRUE(CreateHardLinkW(Wide(other).c_str(), Wide(exe).c_str(), nullptr));
  testing::SetAttributes(exe, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  std::string error;
  ASSERT_TRUE(RewriteFile(exe, kNew, error)) << error;
  EXPECT_EQ(ReadBytes(exe), kNew);
  EXPECT_EQ(ReadBytes(other), kNew);
  EXPECT_EQ(AttributesOf(exe) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(EverythingIn(dir).size(), 2U);
}

TEST(RewriteOnWindows, RunningProgramsExecutableReadOpenElsewhereIsReplacedOrKeptWhole) {
  // The game holds its executable open for reading while it runs; the rewrite then either
  // succeeds whole or leaves the old bytes, never anything in between.
  TempDir dir;
  const std::string exe = dir.Write("tomb4.exe", kOld);
  std::string error;
  bool rewritten = false;
  {
    const HeldFile running(exe, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE);
    ASSERT_TRUE(running.valid());
    RewriteHooks impatient;
    impatient.wait = std::chrono::milliseconds(50);
    rewritten = RewriteFile(exe, kNew, error, &impatient);
  }
  EXPECT_EQ(ReadBytes(exe), rewritten ? kNew : kOld) << error;
  EXPECT_EQ(rewritten, error.empty()) << error;
  EXPECT_EQ(EverythingIn(dir), Paths{exe});
}

TEST(RewriteOnWindows, NewBytesWaitCompleteInAHiddenFileWhileNoOtherProgramMayWrite) {
  TempDir dir;
  const std::string exe = dir.Write("tomb4.exe", kOld);
  std::string seenTemporary;
  RewriteHooks hooks;
  hooks.before_replace = [&](const std::string& temporary) {
    seenTemporary = temporary;
    EXPECT_EQ(ReadBytes(exe), kOld);
    EXPECT_EQ(ReadBytes(temporary), kNew);
    EXPECT_NE(AttributesOf(temporary) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(GetParentFolder(temporary), dir.path());
    EXPECT_FALSE(
        HeldFile(exe, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)
            .valid());
  };
  std::string error;
  ASSERT_TRUE(RewriteFile(exe, kNew, error, &hooks)) << error;
  EXPECT_FALSE(seenTemporary.empty());
  EXPECT_EQ(EverythingIn(dir), Paths{exe});
}

TEST(RewriteOnWindows, AHiddenCopyLeftByAProgramThatEndedIsRemoved) {
  TempDir dir;
  const std::string exe = dir.Write("tomb4.exe", kOld);
  const std::string stale = dir.WriteText(".tomb4.exe.varnock-999996-17", "left over");
  const Paths kept = {
      dir.WriteText(".tomb4.exe.varnock-" + std::to_string(GetCurrentProcessId()) + "-5", "in use"),
      dir.WriteText(".tomb4.exe.varnock-notes.txt", "user data")};
  std::string error;
  ASSERT_TRUE(RewriteFile(exe, kNew, error)) << error;
  EXPECT_FALSE(FileExists(stale));
  for (const std::string& path : kept) {
    EXPECT_TRUE(FileExists(path)) << path;
  }
}

// The program is interrupted from its console (Ctrl-Break) while the new bytes wait in the
// hidden file: the hidden file goes with it. The interrupted program is this test program,
// started again to run the disabled test below, which stops at the replace.
TEST(RewriteOnWindows, AnInterruptionFromTheConsoleRemovesTheHiddenCopy) {
  if (GetConsoleWindow() == nullptr) {
    GTEST_SKIP() << "no console to interrupt a program from";
  }
  TempDir dir;
  const std::string exe = dir.Write("tomb4.exe", kOld);
  SetEnvironmentVariableW(L"VARNOCK_HELD_REWRITE", Wide(exe).c_str());
  std::wstring command = L"\"" + Wide(OwnExecutablePath()) +
                         L"\" --gtest_also_run_disabled_tests "
                         L"--gtest_filter=RewriteOnWindows.DISABLED_StopsAtTheReplace";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                             CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &child));
  SetEnvironmentVariableW(L"VARNOCK_HELD_REWRITE", nullptr);
  for (int i = 0; i < 200 && EverythingIn(dir).size() < 2; ++i) {
    Sleep(50);
  }
  ASSERT_EQ(EverythingIn(dir).size(), 2U) << "the child did not reach the replace";
  const bool sent = GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, child.dwProcessId) != 0;
  const bool ended = sent && WaitForSingleObject(child.hProcess, 10000) == WAIT_OBJECT_0;
  if (!ended) {
    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, 10000);
  }
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  if (!ended) {
    GTEST_SKIP() << "this system cannot interrupt a program from its console";
  }
  EXPECT_EQ(ReadBytes(exe), kOld);
  EXPECT_EQ(EverythingIn(dir), Paths{exe});
}

TEST(RewriteOnWindows, DISABLED_StopsAtTheReplace) {
  const char* exe = std::getenv("VARNOCK_HELD_REWRITE");
  ASSERT_NE(exe, nullptr);
  RewriteHooks hooks;
  hooks.before_replace = [](const std::string&) { Sleep(20000); };
  std::string error;
  RewriteFile(exe, kNew, error, &hooks);
}

}  // namespace
}  // namespace varnock
