#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "history/history_actions.h"
#include "history/history_record.h"
#include "history/history_store.h"
#include "history/history_summary.h"
#include "history/history_view.h"
#include "history/operation_history.h"
#include "history/recorded_rewrite.h"
#include "support/paths.h"
#include "support/safe_rewrite.h"
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
    EXPECT_TRUE(history.Record(exe, applied,
                               {.ranges = ChangedRanges(original, applied),
                                .kind = "apply",
                                .patches = {{"A#7#.ptc", "00", "7"}}}));
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
  ASSERT_TRUE(
      RestoreOriginal({file.exe, file.folder}, RestoreRun::Write, RestoreReach::WholeOriginal).ok);
  summary = SummarizeHistory(file.folder, file.exe);
  EXPECT_FALSE(summary.canRestore);
  EXPECT_TRUE(summary.canUndo);  // the restore itself
  EXPECT_EQ(summary.rows.back().what, "restore");
}

// Varnock's change of `exe` from `before` to `after` with its history, as the engine makes it.
bool ChangeWithHistory(const std::string& exe, const Bytes& before, const Bytes& after,
                       OperationHistory& history) {
  std::string error;
  LockedFile file;
  Bytes read;
  return file.Open(exe, error) && file.Read(read, error) && read == before &&
         RecordedRewrite(file, exe, after, history,
                         {.ranges = ChangedRanges(before, after), .kind = "apply"}, error);
}

// A damaged record is moved aside, never trusted: restore and undo say where it lies and write
// nothing; the next change starts a new record with one notice, and its restore cannot call
// anything the original.
TEST(HistoryActionsTest, ADamagedRecordIsKeptAsideAndNeverTrusted) {
  Changed file;
  const auto records = [&] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(file.folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::string record = JoinPath(file.folder, records()[0]);
  Bytes text = ReadBytes(record);
  text[text.size() / 2] ^= 1;
  file.dir.Write(JoinPath("history", records()[0]), text);

  for (const bool undo : {false, true}) {
    const HistoryOutcome outcome =
        undo ? UndoLast({file.exe, file.folder})
             : RestoreOriginal({file.exe, file.folder}, RestoreRun::Write, RestoreReach::Force);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "ERROR: the history of " + file.exe +
                                   " is damaged: the damaged record is kept at " + record +
                                   ".damaged");
    EXPECT_EQ(ReadBytes(file.exe), file.applied);
  }
  EXPECT_EQ(ReadBytes(record + ".damaged"), text);

  Bytes again = file.applied;
  again[0x200] = 0x44;
  OperationHistory history(file.folder);
  ASSERT_TRUE(ChangeWithHistory(file.exe, file.applied, again, history));
  EXPECT_EQ(history.Notice(), "the history of " + file.exe + " is damaged: it is kept at " +
                                  record + ".damaged, and a new history is started");
  const HistoryOutcome restore =
      RestoreOriginal({file.exe, file.folder}, RestoreRun::Write, RestoreReach::Force);
  EXPECT_FALSE(restore.ok);
  EXPECT_NE(restore.message.find("is damaged (kept at " + record + ".damaged)"), std::string::npos)
      << restore.message;
  EXPECT_EQ(ReadBytes(file.exe), again);
  EXPECT_TRUE(UndoLast({file.exe, file.folder}).ok);  // the new record's own change
  EXPECT_EQ(ReadBytes(file.exe), file.applied);
  EXPECT_EQ(ReadBytes(record + ".damaged"), text);

  // A record whose sum is right but that follows a damaged one and holds no entry.
  HistoryRecord empty;
  empty.path = file.exe;
  empty.follows = record + ".damaged";
  empty.originalSize = file.applied.size();
  empty.originalSha256 = Sha256Text(file.applied);
  const std::string emptyText = EncodeHistory(empty);
  file.dir.Write(JoinPath("history", records()[0]), Bytes(emptyText.begin(), emptyText.end()));
  for (const RestoreReach reach : {RestoreReach::WholeOriginal, RestoreReach::Force}) {
    const HistoryOutcome refused =
        RestoreOriginal({file.exe, file.folder}, RestoreRun::Write, reach);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find("so its original is not known"), std::string::npos)
        << refused.message;
  }
  EXPECT_EQ(ReadBytes(file.exe), file.applied);

  // A record changed after it was read is not copied into the next one: the copy is checked
  // against the sum it was read with, and the record stays as it is.
  Changed other;
  const FoundHistory found = FindHistory(
      other.folder, other.exe, Sha256Text(other.applied), other.applied.size(),
      [&](std::uint64_t at) { return other.applied[at]; }, false);
  ASSERT_EQ(found.kind, FoundHistory::Kind::Found);
  Bytes changed = ReadBytes(found.storedAt);
  changed[changed.size() / 2] ^= 1;
  other.dir.Write(JoinPath("history", GetFileName(found.storedAt)), changed);
  std::string error;
  EXPECT_FALSE(SaveHistory(found.storedAt, other.exe, found.record, &found.stored,
                           found.record.entries[0], error));
  EXPECT_NE(error.find("was changed while it was copied"), std::string::npos) << error;
  EXPECT_EQ(ReadBytes(found.storedAt), changed);
  EXPECT_FALSE(std::filesystem::exists(found.storedAt + ".new"));
}

}  // namespace
}  // namespace varnock::testing
