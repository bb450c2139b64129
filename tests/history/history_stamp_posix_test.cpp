#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "history/history_actions.h"
#include "history/history_store.h"
#include "history/history_view.h"
#include "history/operation_history.h"
#include "support/safe_rewrite.h"
#include "support/sha256.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {
namespace {

// Varnock's rewrite of the file with its history: the stamp after it is kept.
void Rewrite(OperationHistory& history, const std::string& exe, const Bytes& after,
             const std::string& known) {
  LockedFile file;
  Bytes before;
  std::string error;
  ASSERT_TRUE(file.Open(exe, error) && file.Read(before, error)) << error;
  ASSERT_TRUE(history.Record(
      exe, after,
      {.ranges = ChangedRanges(before, after), .kind = "apply", .beforeSha256 = known}));
  ASSERT_TRUE(file.Rewrite(after, error)) << error;
  history.Completed(exe, file.Stamp());
}

std::string StampNow(const std::string& exe) {
  LockedFile file;
  std::string error;
  EXPECT_TRUE(file.Open(exe, error)) << error;
  return file.Stamp();
}

// The SHA-256 kept after Varnock's rewrite stands for the file while nobody wrote it; a write
// of another program that puts the file's size and modification time back is still seen, and
// the history says the file was changed since.
TEST(HistoryStampTest, AWriteWithItsTimesPutBackIsStillSeen) {
  TempDir dir;
  const std::string exe = dir.Write("tomb4.exe", Bytes(1 << 16, 0x11));
  const std::string folder = dir.File("history");
  OperationHistory history(folder);
  Bytes applied(1 << 16, 0x11);
  applied[0x100] = 0x22;
  Rewrite(history, exe, applied, {});
  const std::string kept = history.StampedSha256(exe, StampNow(exe));
  EXPECT_TRUE(kept.empty() || kept == Sha256Text(applied)) << kept;

  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // past the clock's tick
  struct stat seen {};
  ASSERT_EQ(::stat(exe.c_str(), &seen), 0);
  std::fstream(exe, std::ios::in | std::ios::out | std::ios::binary).seekp(0x2000).put('x');
  const timespec times[2] = {seen.st_atim, seen.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, exe.c_str(), times, 0), 0);
  EXPECT_EQ(history.StampedSha256(exe, StampNow(exe)), "");

  Bytes again = ReadBytes(exe);
  again[0x100] = 0x11;
  Rewrite(history, exe, again, history.StampedSha256(exe, StampNow(exe)));
  OpenedHistory opened;
  std::string error;
  ASSERT_TRUE(OpenHistory(exe, folder, opened, error)) << error;
  EXPECT_EQ(opened.view.states[0], EntryState::ChangedSince);
}

}  // namespace
}  // namespace varnock::testing
