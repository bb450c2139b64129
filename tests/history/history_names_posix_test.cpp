#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "history/history_actions.h"
#include "history/history_record.h"
#include "history/operation_history.h"
#include "support/safe_rewrite.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {
namespace {

constexpr int kCannotMount = 77;

// The folder of the executable reached through a bind mount is the same file under another
// name: its record is found there, and the undo made through it gives the original back. The
// mount is made in a mount namespace of a child process of its own, so nothing is left mounted;
// where the system allows none (no privilege), the test is skipped.
TEST(HistoryNamesTest, ABindMountReachesTheSameRecord) {
  TempDir dir;
  const Bytes original(4096, 0x11);
  const std::string exe = dir.Write("game/tomb4.exe", original);
  const std::string folder = dir.File("history");
  const std::string mounted = dir.File("mounted");
  std::filesystem::create_directories(mounted);
  Bytes applied = original;
  std::fill(applied.begin() + 0x100, applied.begin() + 0x110, 0x22);
  OperationHistory history(folder);
  std::string error;
  ASSERT_TRUE(
      history.Record(exe, applied, {.ranges = ChangedRanges(original, applied), .kind = "apply"}));
  ASSERT_TRUE(RewriteFile(exe, applied, error)) << error;

  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(dir.File("game").c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      _exit(kCannotMount);
    }
    try {
      const HistoryOutcome undo = UndoLast({mounted + "/tomb4.exe", folder});
      _exit(undo.ok && undo.message.ends_with(" was undone") ? 0 : 1);
    } catch (...) {
      _exit(2);  // never back into the test program
    }
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kCannotMount) {
    GTEST_SKIP() << "no bind mount can be made here";
  }
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes(exe), original);
}

}  // namespace
}  // namespace varnock::testing
