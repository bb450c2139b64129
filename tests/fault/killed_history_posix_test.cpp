// A program killed (SIGKILL) after the history of a change is written and before the file is
// replaced: the record is whole, its entry reads as unused, and the original comes back.
#include <signal.h>

#include "history/history_actions.h"
#include "history/history_store.h"
#include "history/history_view.h"
#include "support/sha256.h"
#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

using KilledHistory = FaultTest;

TEST_F(KilledHistory, AKillBetweenRecordAndRewriteLeavesAnUnusedEntryAndTheOriginalComesBack) {
  const std::string folder = dir.File("history");
  const auto apply = [&](bool killed) {
    WriteFaults hooks;
    hooks.before_replace = [killed](const std::string&) {
      if (killed) {
        ::raise(SIGKILL);
      }
    };
    OperationHistory history(folder);
    std::string version;
    return PerformPatch(patch, exe, false, version, loaded,
                        {.ui = ui, .history = &history, .faults = hooks});
  };
  ChildProcess child([&] { return std::to_string(apply(true)); });
  EXPECT_EQ(child.Report(), "");
  EXPECT_TRUE(child.KilledBySignal());
  EXPECT_EQ(ReadBytes(exe), image);

  {
    OpenedHistory opened;  // holds the file until the end of the block
    std::string error;
    ASSERT_TRUE(OpenHistory(exe, folder, opened, error)) << error;
    ASSERT_EQ(opened.found.record.entries.size(), 1u);
    EXPECT_EQ(opened.view.states[0], EntryState::Unused);
  }

  ASSERT_EQ(apply(false), ResultDone);
  EXPECT_EQ(ReadBytes(exe), Applied());
  EXPECT_TRUE(RestoreOriginal({exe, folder}, RestoreRun::Write, RestoreReach::WholeOriginal).ok);
  EXPECT_EQ(ReadBytes(exe), image);
}

}  // namespace
}  // namespace varnock::testing
