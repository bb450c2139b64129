#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "history/history_actions.h"
#include "history/history_store.h"
#include "history/history_view.h"
#include "history/operation_history.h"
#include "support/files.h"
#include "support/safe_rewrite.h"
#include "support/sha256.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {
namespace {

bool Says(const HistoryOutcome& outcome, const char* words) {
  return outcome.message.find(words) != std::string::npos;
}

// One executable through random sequences of Varnock's changes with and without the history,
// undo, restore (checked, forced), another program's writes, moves, copies, links and a new
// build installed at its path. After every step the file is checked against what was known
// before it: a restore gives the original byte for byte or writes nothing, a forced one writes
// only original bytes, an undo gives back the state before Varnock's last change or writes
// nothing, and nothing is called restored or undone that is not.
class Sequence {
 public:
  explicit Sequence(std::uint32_t seed) : random_(seed) {
    exe_ = dir_.Write("game/tomb4.exe", Randomly(64 + random_() % 256));
  }

  void Step() {
    switch (random_() % 14) {
      case 0:
      case 1:
      case 2:
        return Change(true, false);
      case 3:
        return Change(true, true);  // killed between the record and the rewrite
      case 4:
        return Change(false, false);  // --no-history, or another program
      case 5:
        return PutBackForeign();
      case 6:
      case 7:
        return Undo();
      case 8:
      case 9:
        return Restore(random_() % 3 == 0, random_() % 3 == 0);
      case 10:
        return Move();
      case 11:
        return CopyOrLink();
      case 12:
        return ForeignByte();
      default:
        return NewBuild();
    }
  }

  const std::string& trace() const { return trace_; }

 private:
  Bytes Randomly(std::size_t size) {
    Bytes bytes(size);
    for (auto& byte : bytes) {
      byte = static_cast<std::uint8_t>(random_());
    }
    return bytes;
  }

  Bytes Now() const { return ReadBytes(exe_); }

  bool AnOriginal(const Bytes& content) const {
    return std::find(originals_.begin(), originals_.end(), content) != originals_.end();
  }

  // Varnock's change of one to three zones, recorded as the engine records it.
  void Change(bool recorded, bool killed) {
    trace_ += recorded ? (killed ? "K" : "C") : "N";
    const Bytes before = Now();
    Bytes after = before;
    ByteRuns found;
    for (int n = 1 + static_cast<int>(random_() % 3); n > 0; --n) {
      const std::size_t at = random_() % after.size();
      const std::size_t length = std::min<std::size_t>(1 + random_() % 16, after.size() - at);
      KeepFirstValues(found, {at, Bytes(after.begin() + at, after.begin() + at + length), {}});
      const Bytes fresh = Randomly(length);
      std::copy(fresh.begin(), fresh.end(), after.begin() + static_cast<long>(at));
    }
    Write(before, after, found, recorded, killed);
    if (!recorded) {
      foreign_.push_back({before, after});
    }
  }

  // A change made without the history taken back with it (removing what --no-history applied).
  void PutBackForeign() {
    trace_ += "P";
    if (foreign_.empty()) {
      return;
    }
    const auto [was, made] = foreign_.back();
    foreign_.pop_back();
    const Bytes before = Now();
    Bytes after = before;
    ByteRuns found;
    for (const RecordedRange& range : ChangedRanges(was, made)) {
      KeepFirstValues(found, {range.offset,
                              Bytes(before.begin() + range.offset,
                                    before.begin() + range.offset + range.before.size()),
                              {}});
      std::copy(range.before.begin(), range.before.end(),
                after.begin() + static_cast<long>(range.offset));
    }
    Write(before, after, found, true, false);
  }

  // Varnock's change with its history (killed between its record and its rewrite, or not), or
  // another program's, written in place.
  void Write(const Bytes& before, const Bytes& after, const ByteRuns& found, bool recorded,
             bool killed) {
    if (!recorded) {
      return WriteInPlace(after);
    }
    LockedFile file;
    std::string error;
    Bytes read;
    ASSERT_TRUE(file.Open(exe_, error) && file.Read(read, error)) << error;
    ASSERT_EQ(read, before);
    OperationHistory history(folder_);
    recorded =
        history.Record(exe_, after, {.ranges = ChangedRanges(found, after), .kind = "apply"});
    if (recorded && (!started_ || BeganHere(after))) {
      started_ = true;  // a history begins: its original is the file as it was then
      originals_.push_back(before);
    }
    lastState_ = recorded ? Sha256Text(after) : lastState_;
    copied_ = copied_ && !recorded;
    if (killed) {
      return;
    }
    ASSERT_TRUE(file.Rewrite(after, error)) << error;
    history.Completed(exe_, file.Stamp());
    if (recorded && before != after) {
      done_.push_back({before, after});
    }
  }

  // Whether the record just written for `after` is a new one: a file whose content no longer
  // goes on from its record (another program wrote over most of what Varnock wrote, another
  // build copied over it) is another file, and its history begins anew.
  bool BeganHere(const Bytes& after) const {
    const FoundHistory found = FindHistory(folder_, exe_, Sha256Text(after), after.size(),
                                           [&](std::uint64_t offset) { return after[offset]; });
    return found.kind == FoundHistory::Kind::Found && found.record.entries.size() == 1;
  }

  // Another program's write. A copy Varnock has not written yet is known to its history only
  // by its content: changed, it is another file, whose history begins anew.
  void WriteInPlace(const Bytes& content) {
    started_ = started_ && !copied_;
    std::fstream out(exe_, std::ios::in | std::ios::out | std::ios::binary);
    out.write(reinterpret_cast<const char*>(content.data()), static_cast<long>(content.size()));
    ASSERT_TRUE(out.flush());
  }

  void ForeignByte() {
    trace_ += "F";
    Bytes now = Now();
    now[random_() % now.size()] ^= static_cast<std::uint8_t>(1 + random_() % 255);
    WriteInPlace(now);
  }

  void Undo() {
    trace_ += "U";
    const Bytes before = Now();
    const HistoryOutcome outcome = UndoLast({exe_, folder_});
    const Bytes after = Now();
    if (!outcome.ok) {
      EXPECT_EQ(after, before) << "an undo that failed wrote: " << outcome.message;
      return;
    }
    ASSERT_FALSE(done_.empty()) << outcome.message;
    EXPECT_EQ(before, done_.back().second) << outcome.message;
    EXPECT_EQ(after, done_.back().first) << "not the state before the change: " << outcome.message;
    EXPECT_TRUE(Says(outcome, " was undone")) << outcome.message;
    done_.pop_back();
    lastState_ = Sha256Text(after);
    copied_ = false;
  }

  void Restore(bool check, bool force) {
    trace_ += check ? "c" : (force ? "f" : "R");
    const Bytes before = Now();
    const RestoreReach reach = force ? RestoreReach::Force : RestoreReach::WholeOriginal;
    const HistoryOutcome outcome =
        RestoreOriginal({exe_, folder_}, check ? RestoreRun::Check : RestoreRun::Write, reach);
    const Bytes after = Now();
    if (check || !outcome.ok) {
      EXPECT_EQ(after, before) << "a check or a refusal wrote: " << outcome.message;
    }
    if (Says(outcome, "is the original already") ||
        (!check && Says(outcome, "restored to the original"))) {
      EXPECT_TRUE(outcome.ok);
      EXPECT_TRUE(AnOriginal(after)) << outcome.message;
    }
    if (check && Says(outcome, "would be restored to the original")) {
      // The check and the restore agree.
      EXPECT_TRUE(Says(RestoreOriginal({exe_, folder_}, RestoreRun::Write, reach),
                       " restored to the original"));
      EXPECT_TRUE(AnOriginal(Now()));
      done_.push_back({before, Now()});
      lastState_ = Sha256Text(Now());
      copied_ = false;
    }
    if (!outcome.ok || check) {
      return;
    }
    ASSERT_EQ(after.size(), before.size()) << outcome.message;
    EXPECT_TRUE(std::any_of(originals_.begin(), originals_.end(),
                            [&](const Bytes& original) {
                              for (std::size_t i = 0; i < after.size(); ++i) {
                                if (after[i] != before[i] &&
                                    (i >= original.size() || after[i] != original[i])) {
                                  return false;
                                }
                              }
                              return true;
                            }))
        << "a byte written that is not the original's: " << outcome.message;
    if (after != before) {
      done_.push_back({before, after});
      lastState_ = Sha256Text(after);
      copied_ = false;
    }
  }

  // The file moved to another name or folder, or back.
  void Move() {
    trace_ += "M";
    const std::string to = dir_.File(moves_++ % 2 == 0 ? "moved/tomb4.exe" : "game/tomb4.exe");
    std::filesystem::create_directories(std::filesystem::path(to).parent_path());
    if (to != exe_) {
      std::filesystem::rename(exe_, to);
      exe_ = to;
    }
  }

  // Work goes on through a hard link, or on a copy (the file left behind keeps its content).
  void CopyOrLink() {
    const bool link = random_() % 2 == 0;
    trace_ += link ? "L" : "Y";
    const std::string to = dir_.File("copy" + std::to_string(copies_++) + ".exe");
    if (link) {
      std::filesystem::create_hard_link(exe_, to);
    } else {
      std::filesystem::copy_file(exe_, to);
      // Another file, whose history is found only while it is in the record's last state.
      started_ = started_ && Sha256Text(Now()) == lastState_;
      copied_ = true;
    }
    exe_ = to;
  }

  // Another build of the game installed at the same path: another original.
  void NewBuild() {
    trace_ += "B";
    // Same size or not; a build that differs from the patched file in a few bytes only cannot
    // be told from another program's change.
    const Bytes build = Randomly(random_() % 2 == 0 ? Now().size() : 64 + random_() % 256);
    if (random_() % 2 == 0) {
      // Copied over the old file in place: the file keeps its identity.
      std::ofstream(exe_, std::ios::binary | std::ios::trunc)
          .write(reinterpret_cast<const char*>(build.data()),
                 static_cast<std::streamsize>(build.size()));
    } else {
      std::filesystem::rename(dir_.Write("build.new", build), exe_);
    }
    started_ = false;
    originals_.clear();
    done_.clear();
    foreign_.clear();
  }

  std::mt19937 random_;
  TempDir dir_;
  std::string folder_ = dir_.File("history");
  // The file as it was when its history began; a copy changed before Varnock wrote it may be
  // taken for the file it was copied from (same path, same bytes) or for a file of its own.
  std::vector<Bytes> originals_;
  bool started_ = false;
  bool copied_ = false;    // a copy Varnock has not written since it was made
  std::string lastState_;  // the SHA-256 the last record written says the file has after it
  std::string exe_;
  int moves_ = 0;
  int copies_ = 0;
  std::vector<std::pair<Bytes, Bytes>> done_;     // Varnock's changes not undone: before, after
  std::vector<std::pair<Bytes, Bytes>> foreign_;  // changes made without the history
  std::string trace_;
};

TEST(HistoryPropertyTest, RestoreAndUndoGiveTheRightBytesOrWriteNothing) {
  // Every step flushes a record and a file: in memory where the system has a folder for it.
  const std::uint32_t seeds = TempDirsInMemory() ? 1500 : 60;
  for (std::uint32_t seed = 1; seed <= seeds; ++seed) {
    Sequence sequence(seed);
    for (int step = 0; step < 12; ++step) {
      sequence.Step();
      if (::testing::Test::HasFailure()) {
        FAIL() << "seed " << seed << ", steps " << sequence.trace();
      }
    }
  }
}

}  // namespace
}  // namespace varnock::testing
