// The program is killed (SIGKILL: no handler, no clean-up) in the middle of an apply: the
// executable is afterwards wholly old or wholly new, never a mix, and the next run works.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "engine/perform_patch.h"
#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

// Larger than one write, so that a kill can fall between two of them.
constexpr std::size_t kLargeExecutable = 3 << 20;

class KilledOperation : public FaultTest {
 protected:
  KilledOperation() : FaultTest(kLargeExecutable) {
    PatchRecord withArgument = Zones();
    WithArgument(withArgument, NumByte, {100});
    argumentPatch = WritePatchNamed("Patch#1#.ptc", withArgument);
  }
  Bytes AppliedWithNine() const {
    Bytes applied = Applied();
    applied[100] = 9;
    return applied;
  }
  // What a kill may leave: the engine's hidden temporary file beside the executable and the
  // argument's temporary copies beside the patch (a later run leaves one alone and takes
  // another temporary name).
  void ExpectOnlyTemporaryLeftovers() const {
    for (const std::string& name : LeftBehind({"tomb4.exe", "Patch.ptc", "Patch#1#.ptc"})) {
      EXPECT_TRUE((name.starts_with("temp_") && name.ends_with("Patch#9#.ptc")) ||
                  (name.rfind(".tomb4.exe.", 0) == 0 && name.find("varnock") != std::string::npos))
          << name;
    }
  }
  // Runs the apply in a child that dies by SIGKILL at the hook.
  void KillAt(RewriteHooks hooks) {
    EXPECT_TRUE(EndsBySignal([&] {
      std::string version;
      PerformPatch(patch, exe, false, version, loaded, ui, &hooks);
    }));
  }

  std::string argumentPatch;
};

TEST_F(KilledOperation, AKillWhileTheNewContentIsWrittenOrBeforeItTakesThePlaceKeepsTheOldFile) {
  RewriteHooks whileWriting;
  whileWriting.allow_write = [](std::size_t offset, std::size_t) {
    if (offset > 0) {
      ::raise(SIGKILL);
    }
    return true;
  };
  KillAt(whileWriting);
  EXPECT_EQ(ReadBytes(exe), image);

  RewriteHooks beforeReplace;
  beforeReplace.before_replace = [](const std::string&) { ::raise(SIGKILL); };
  KillAt(beforeReplace);
  EXPECT_EQ(ReadBytes(exe), image);
  ExpectOnlyTemporaryLeftovers();

  // The next run finds a usable file and applies the patch whole.
  EXPECT_EQ(Apply(patch), ResultDone);
  EXPECT_EQ(ReadBytes(exe), Applied());
  EXPECT_TRUE(ui.OnlyPlain(kApplied)) << ::testing::PrintToString(ui.Texts());
}

// Kills from outside at moments spread over the whole operation, argument copy included.
TEST_F(KilledOperation, AKillAtAnyMomentLeavesTheExecutableWhollyOldOrWhollyNew) {
  const auto started = std::chrono::steady_clock::now();
  {
    ChildProcess timing([this] {
      ui.QueueAnswer("9");
      return std::to_string(Apply(argumentPatch));
    });
    ASSERT_EQ(timing.Report(), std::to_string(ResultDone));
  }
  const auto duration = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(ReadBytes(exe), AppliedWithNine());

  int old = 0;
  int whole = 0;
  constexpr int kMoments = 12;
  for (int i = 0; i < kMoments; ++i) {
    dir.Write(JoinPath("game", "tomb4.exe"), image);
    ChildProcess child([this] {
      ui.QueueAnswer("9");
      return std::to_string(Apply(argumentPatch));
    });
    ASSERT_TRUE(child.Started());
    std::this_thread::sleep_for(duration * i / (kMoments - 2));
    child.Kill();
    const Bytes after = ReadBytes(exe);
    const bool isOld = after == image;
    EXPECT_TRUE(isOld || after == AppliedWithNine()) << "moment " << i << ": a mixed file";
    old += isOld ? 1 : 0;
    whole += isOld ? 0 : 1;
    ExpectOnlyTemporaryLeftovers();
  }
  RecordProperty("killed_with_old_file", old);
  RecordProperty("killed_with_new_file", whole);

  // Whatever the kills left, the next run removes the patch cleanly or applies it.
  ui.QueueAnswer("9");
  const ResultCode next =
      RunPatchOperation(argumentPatch, exe, ReadBytes(exe) != image, loaded, ui);
  EXPECT_EQ(next, ResultDone);
  EXPECT_TRUE(ReadBytes(exe) == image || ReadBytes(exe) == AppliedWithNine());
  // A copy with bytes is the next run's to remove; an empty one is left when the kill came
  // between the copy's creation and its first byte, where it cannot be told from a live run's.
  const std::string copy = dir.File(JoinPath("patches", "temp_Patch#9#.ptc"));
  EXPECT_TRUE(!FileExists(copy) || ReadBytes(copy).empty());
}

}  // namespace
}  // namespace varnock::testing
