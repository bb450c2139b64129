#include <gtest/gtest.h>

#include "history/history_actions.h"
#include "history/history_summary.h"
#include "history/operation_history.h"
#include "support/sha256.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {
namespace {

// An executable of 4096 bytes whose bytes 0x100 to 0x10F Varnock changed with its history kept,
// applying A#7#.ptc with the argument 7.
struct Changed {
  TempDir dir;
  Bytes original = Bytes(4096, 0x11);
  std::string exe = dir.Write("tomb4.exe", original);
  std::string folder = dir.File("history");
  Bytes applied = original;

  Changed() {
    std::fill(applied.begin() + 0x100, applied.begin() + 0x110, 0x22);
    OperationHistory history(folder);
    std::string error;
    EXPECT_TRUE(history.Record(exe, applied, ChangedRanges(original, applied), "apply",
                               {{"A#7#.ptc", "00", "7"}}));
    EXPECT_TRUE(RewriteFile(exe, applied, error)) << error;
  }
  // Another program changes the bytes at `offsets`.
  Bytes ChangedElsewhere(const std::vector<std::size_t>& offsets) {
    Bytes other = applied;
    for (const std::size_t at : offsets) {
      other[at] ^= 0x5A;
    }
    dir.Write("tomb4.exe", other);
    return other;
  }
};

// Another program's changes inside the bytes Varnock changed are named and restored; changes
// outside them can only be known to exist: the restore says so, writes nothing, and --force
// leaves them as they are.
TEST(HistoryActionsTest, RestoreSaysWhatItCanTellOfAnotherProgramsChanges) {
  struct Row {
    std::vector<std::size_t> offsets;
    bool restores;
    std::string says;
  } rows[] = {
      {{}, true, " restored to the original"},
      {{0x104}, true, " restored to the original"},
      {{0x800},
       false,
       " would still differ from its original: another program changed bytes outside the 16 "
       "that Varnock changed, and of those Varnock keeps only the original's SHA-256, so it "
       "cannot tell which or how many\nNothing was written"},
      {{0x104, 0x10F, 0x800},
       false,
       "how many\n2 of the bytes Varnock changed were changed by another program too, at 0x104, "
       "0x10F: a restore gives them their original values back\nNothing was written"},
  };
  for (const Row& row : rows) {
    Changed file;
    const Bytes other = file.ChangedElsewhere(row.offsets);
    for (const bool check : {true, false}) {
      const HistoryOutcome outcome = RestoreOriginal(file.exe, file.folder, check, false);
      EXPECT_EQ(outcome.ok, row.restores) << outcome.message;
      EXPECT_NE(outcome.message.find(row.says), std::string::npos) << outcome.message;
      EXPECT_EQ(ReadBytes(file.exe), row.restores && !check ? file.original : other);
    }
    if (!row.restores) {
      EXPECT_TRUE(RestoreOriginal(file.exe, file.folder, false, true).ok);
      Bytes expected = file.original;
      expected[0x800] = other[0x800];
      EXPECT_EQ(ReadBytes(file.exe), expected);
    }
  }
}

// The rows and the confirmations name the operations, patches, arguments and bytes; a file
// another program changed since can no longer be undone, and says so.
TEST(HistoryActionsTest, SummaryNamesWhatRestoreAndUndoWouldDo) {
  Changed file;
  HistorySummary summary = SummarizeHistory(file.folder, file.exe);
  ASSERT_TRUE(summary.kept);
  ASSERT_EQ(summary.rows.size(), 1u);
  const HistoryRow& row = summary.rows[0];
  EXPECT_EQ(row.what + "|" + row.patches + "|" + row.arguments + "|" + row.state,
            "apply|A#7#.ptc|7|");
  const std::string what = "the apply of " + row.time + " (A#7#.ptc, --arg 7)";
  EXPECT_EQ(summary.undoQuestion,
            "Undo the last change of " + file.exe + "?\n\n" + what +
                " is taken back: 16 bytes get the values they had before it.");
  EXPECT_EQ(summary.restoreQuestion.substr(0, summary.restoreQuestion.find("\n\nThe whole")),
            "Restore the original of " + file.exe +
                "?\n\n16 bytes that Varnock changed get their original values back, taking "
                "back:\n- " +
                what);
  EXPECT_TRUE(summary.canRestore && summary.canUndo && summary.matchesLast);

  file.ChangedElsewhere({0x104});
  summary = SummarizeHistory(file.folder, file.exe);
  EXPECT_EQ(summary.rows[0].state, "changed by another program since");
  EXPECT_FALSE(summary.canUndo || summary.matchesLast);
  EXPECT_NE(summary.restoreQuestion.find("\n\nAnother program changed the file since"),
            std::string::npos);
  ASSERT_TRUE(RestoreOriginal(file.exe, file.folder, false, false).ok);
  summary = SummarizeHistory(file.folder, file.exe);
  EXPECT_FALSE(summary.canRestore || summary.canUndo);
  EXPECT_EQ(summary.rows.back().what, "restore");
}

}  // namespace
}  // namespace varnock::testing
