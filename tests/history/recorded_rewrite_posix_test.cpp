#include "history/recorded_rewrite.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "history/history_store.h"
#include "support/files.h"
#include "support/sha256.h"
#include "tests/common/immutable_flag.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {
namespace {

// The record is durable before the file changes: when it cannot be written, a change that needs
// it leaves the file byte-identical, and one that does not is written all the same; either way
// the reason is kept for the front end. Also where the file is written in place (two names).
TEST(RecordedRewriteTest, ARecordThatCannotBeWrittenStopsOnlyTheChangeThatNeedsIt) {
  for (const int round : {0, 1, 2, 3}) {
    const auto need =
        round % 2 == 0 ? RecordedChange::Need::Required : RecordedChange::Need::Optional;
    const bool inPlace = round >= 2;
    SCOPED_TRACE(round);
    TempDir dir;
    const Bytes before(4096, 0x11);
    Bytes after = before;
    after[0x200] = 0x22;
    const std::string exe = dir.Write("tomb4.exe", before);
    if (inPlace) {
      std::filesystem::create_hard_link(exe, dir.File("second.exe"));
    }
    const std::string folder = dir.File("history");
    std::filesystem::create_directory(folder);
    OperationHistory history(folder);
    const Immutable frozen(folder);
    if (frozen.Unavailable()) {
      GTEST_SKIP() << "no immutable folder can be made here";
    }
    LockedFile file;
    std::string error;
    ASSERT_TRUE(file.Open(exe, error)) << error;
    const bool written = RecordedRewrite(
        file, exe, after, history,
        {.ranges = ChangedRanges(before, after), .kind = "apply", .need = need}, error);
    EXPECT_FALSE(history.Failure().empty());
    if (need == RecordedChange::Need::Required) {
      EXPECT_FALSE(written);
      EXPECT_EQ(error, "the history of " + exe + " cannot be written: " + history.Failure());
      EXPECT_EQ(ReadWholeFile(exe), before);
    } else {
      EXPECT_TRUE(written) << error;
      EXPECT_EQ(ReadWholeFile(exe), after);
    }
  }
}

// A record that is written names the SHA-256 before, known or summed, and the one after.
TEST(RecordedRewriteTest, TheRecordIsWrittenBeforeTheFileIsReplaced) {
  TempDir dir;
  const Bytes before(4096, 0x11);
  Bytes after = before;
  after[0x10] = 0x33;
  const std::string exe = dir.Write("tomb4.exe", before);
  OperationHistory history(dir.File("history"));
  LockedFile file(WriteFaults{.before_replace =
                                  [&](const std::string&) {
                                    const FoundHistory found = FindHistory(
                                        history.Folder(), exe, Sha256Text(after), after.size(),
                                        [&](std::uint64_t at) { return after[at]; });
                                    EXPECT_EQ(found.kind, FoundHistory::Kind::Found);
                                    EXPECT_EQ(ReadWholeFile(exe), before);
                                  },
                              .allow_write = {},
                              .wait = {}});
  std::string error;
  ASSERT_TRUE(file.Open(exe, error)) << error;
  ASSERT_TRUE(RecordedRewrite(file, exe, after, history,
                              {.ranges = ChangedRanges(before, after), .kind = "apply"}, error))
      << error;
  EXPECT_EQ(ReadWholeFile(exe), after);
  EXPECT_TRUE(history.Failure().empty());
}

}  // namespace
}  // namespace varnock::testing
