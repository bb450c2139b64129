// The program is killed (SIGKILL: no handler, no clean-up) at moments spread over a whole
// apply, argument copy included: the executable is afterwards wholly old or wholly new, never
// a mix, and the next run works.
#include <chrono>
#include <thread>

#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

// Larger than one write, so that a kill can fall between two of them.
class KilledOperation : public FaultTest {
 protected:
  KilledOperation() : FaultTest(3 << 20) {}
};

TEST_F(KilledOperation, AKillAtAnyMomentLeavesTheExecutableWhollyOldOrWhollyNew) {
  const auto applyNine = [this] {
    ui.QueueAnswer("9");
    return std::to_string(Apply(argumentPatch));
  };
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(ChildProcess(applyNine).Report(), std::to_string(ResultDone));
  const auto duration = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(ReadBytes(exe), Applied(true));

  int old = 0;
  constexpr int kMoments = 12;
  for (int i = 0; i < kMoments; ++i) {
    dir.Write(JoinPath("game", "tomb4.exe"), image);
    ChildProcess child(applyNine);
    ASSERT_TRUE(child.Started());
    std::this_thread::sleep_for(duration * i / (kMoments - 2));
    child.Kill();
    const Bytes after = ReadBytes(exe);
    old += after == image ? 1 : 0;
    EXPECT_TRUE(after == image || after == Applied(true)) << "moment " << i << ": a mixed file";
    // What a kill may leave: the hidden copy beside the executable, and the argument's copy
    // beside the patch (a later run leaves one alone and takes another temporary name).
    for (const std::string& name : LeftBehind()) {
      EXPECT_TRUE(name.starts_with(".tomb4.exe.varnock-") ||
                  (name.starts_with("temp_") && name.ends_with("Patch#9#.ptc")))
          << name;
    }
  }
  RecordProperty("killed_with_old_file", old);

  // Whatever the kills left, the next run removes the patch cleanly or applies it.
  ui.QueueAnswer("9");
  EXPECT_EQ(RunPatchOperation(argumentPatch, exe, ReadBytes(exe) != image, loaded, ui), ResultDone);
  EXPECT_TRUE(ReadBytes(exe) == image || ReadBytes(exe) == Applied(true));
  // A copy with bytes is the next run's to remove; an empty one is left when the kill came
  // between the copy's creation and its first byte, where it cannot be told from a live run's.
  const std::string copy = dir.File(JoinPath("patches", "temp_Patch#9#.ptc"));
  EXPECT_TRUE(!FileExists(copy) || ReadBytes(copy).empty());
}

}  // namespace
}  // namespace varnock::testing
