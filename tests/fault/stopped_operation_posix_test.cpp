// The program is stopped while it works on the executable, which afterwards is wholly old or
// wholly new. By a signal it can catch (Ctrl-C, a terminal closed, a polite kill) nothing is
// left behind; by one it cannot (SIGKILL: no handler, no clean-up), the hidden copy left over
// is removed by the next operation on the same file.
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

class StoppedOperation : public FaultTest {
 protected:
  StoppedOperation() : FaultTest(3 << 20) {}  // more than one write, for a stop between two
};

TEST_F(StoppedOperation, ASignalKeepsTheOldFileAndWhatAKillLeavesGoesWithTheNextOperation) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
    RewriteHooks whileWriting;
    whileWriting.allow_write = [signal](std::size_t offset, std::size_t) {
      return offset == 0 || ::raise(signal) == 0;
    };
    RewriteHooks beforeReplace;
    beforeReplace.before_replace = [signal](const std::string&) { ::raise(signal); };
    for (const RewriteHooks& hooks : {whileWriting, beforeReplace}) {
      SCOPED_TRACE(std::string(strsignal(signal)) + (hooks.before_replace ? " before" : " while"));
      ChildProcess child([&] { return std::to_string(Perform(hooks)); });
      EXPECT_EQ(child.Report(), "");
      EXPECT_TRUE(child.KilledBySignal());
      EXPECT_EQ(ReadBytes(exe), image);
      const Names left = LeftBehind();
      EXPECT_EQ(left.empty(), signal != SIGKILL) << ::testing::PrintToString(left);
      for (const std::string& name : left) {
        EXPECT_TRUE(name.starts_with(".tomb4.exe.varnock-")) << name;
      }
    }
  }
  // Names like a hidden copy that are not one, or one still in use, stay.
  const Names kept = {".tomb4.exe.varnock-notes.txt", ".tomb4.exe.varnock-",
                      ".other.exe.varnock-Ab12Cd", ".tomb4.exe.varnock-InUse1"};
  for (const std::string& name : kept) {
    dir.WriteText(JoinPath("game", name), "user data");
  }
  std::filesystem::create_directory(
      ToFsPath(dir.File(JoinPath("game", ".tomb4.exe.varnock-Folder"))));
  const int inUse = ::open(dir.File(JoinPath("game", kept.back())).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(inUse, LOCK_EX), 0);

  // Even an operation that writes nothing cleans up.
  dir.Write(JoinPath("game", "tomb4.exe"), Applied());
  EXPECT_EQ(Apply(patch), ResultAlreadyDone);
  Names expected = kept;
  expected.insert(expected.end(),
                  {"tomb4.exe", "Patch.ptc", "Patch#1#.ptc", ".tomb4.exe.varnock-Folder"});
  EXPECT_EQ(LeftBehind(expected), Names{});
  for (const std::string& name : kept) {
    EXPECT_TRUE(FileExists(dir.File(JoinPath("game", name)))) << name;
  }
  ::close(inUse);
}

// SIGKILL at moments spread over a whole apply, the argument's copy included.
TEST_F(StoppedOperation, AKillAtAnyMomentLeavesTheExecutableWhollyOldOrWhollyNew) {
  const auto applyNine = [this] {
    ui.QueueAnswer("9");
    return std::to_string(Apply(argumentPatch));
  };
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(ChildProcess(applyNine).Report(), std::to_string(ResultDone));
  const auto duration = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(ReadBytes(exe), Applied(true));

  constexpr int kMoments = 12;
  for (int i = 0; i < kMoments; ++i) {
    dir.Write(JoinPath("game", "tomb4.exe"), image);
    ChildProcess child(applyNine);
    ASSERT_TRUE(child.Started());
    std::this_thread::sleep_for(duration * i / (kMoments - 2));
    child.Kill();
    const Bytes after = ReadBytes(exe);
    EXPECT_TRUE(after == image || after == Applied(true)) << "moment " << i << ": a mixed file";
    // What a kill may leave: the hidden copy beside the executable, and the argument's copy
    // beside the patch (a later run leaves one alone and takes another temporary name).
    for (const std::string& name : LeftBehind()) {
      EXPECT_TRUE(name.starts_with(".tomb4.exe.varnock-") ||
                  (name.starts_with("temp_") && name.ends_with("Patch#9#.ptc")))
          << name;
    }
  }
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
