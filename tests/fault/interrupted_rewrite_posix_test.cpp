// The program is stopped while it rewrites the executable: by a signal it can catch
// (Ctrl-C, a terminal closed, a polite kill), nothing is left behind; by one it cannot, the
// hidden copy left over is removed by the next operation on the same file.
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "engine/perform_patch.h"
#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;

class InterruptedRewrite : public FaultTest {
 protected:
  InterruptedRewrite() : FaultTest(3 << 20) {}

  // Runs the apply in a child that receives `signal` at the hook.
  void SignalAt(RewriteHooks hooks) {
    EXPECT_TRUE(EndsBySignal([&] {
      std::string version;
      PerformPatch(patch, exe, false, version, loaded, ui, &hooks);
    }));
    EXPECT_EQ(ReadBytes(exe), image);
  }
};

TEST_F(InterruptedRewrite, ACaughtSignalRemovesTheHiddenCopy) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    RewriteHooks whileWriting;
    whileWriting.allow_write = [signal](std::size_t offset, std::size_t) {
      if (offset > 0) {
        ::raise(signal);
      }
      return true;
    };
    SignalAt(whileWriting);
    RewriteHooks beforeReplace;
    beforeReplace.before_replace = [signal](const std::string&) { ::raise(signal); };
    SignalAt(beforeReplace);
    EXPECT_TRUE(LeftBehind().empty()) << ::testing::PrintToString(LeftBehind());
  }
}

TEST_F(InterruptedRewrite, AStaleHiddenCopyIsRemovedByTheNextOperationOnlyWhenItIsOurs) {
  RewriteHooks killed;
  killed.before_replace = [](const std::string&) { ::raise(SIGKILL); };
  SignalAt(killed);
  ASSERT_EQ(LeftBehind().size(), 1U);
  // Names like a hidden copy that are not one, or one still in use, stay.
  const std::vector<std::string> kept = {".tomb4.exe.varnock-notes.txt", ".tomb4.exe.varnock-",
                                         ".other.exe.varnock-Ab12Cd", ".tomb4.exe.varnock-InUse1"};
  for (const std::string& name : kept) {
    dir.WriteText(JoinPath("game", name), "user data");
  }
  fs::create_directory(ToFsPath(dir.File(JoinPath("game", ".tomb4.exe.varnock-Folder"))));
  const int inUse = ::open(dir.File(JoinPath("game", kept.back())).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(inUse, LOCK_EX), 0);

  // Even an operation that writes nothing cleans up.
  dir.Write(JoinPath("game", "tomb4.exe"), Applied());
  EXPECT_EQ(Apply(patch), ResultAlreadyDone);
  std::vector<std::string> expected = kept;
  expected.insert(expected.end(), {"tomb4.exe", "Patch.ptc", ".tomb4.exe.varnock-Folder"});
  EXPECT_TRUE(LeftBehind(expected).empty()) << ::testing::PrintToString(LeftBehind(expected));
  for (const std::string& name : kept) {
    EXPECT_TRUE(FileExists(dir.File(JoinPath("game", name)))) << name;
  }
  ::close(inUse);
}

}  // namespace
}  // namespace varnock::testing
