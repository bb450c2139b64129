// The program is stopped while it rewrites the executable, which keeps every old byte. By a
// signal it can catch (Ctrl-C, a terminal closed, a polite kill) nothing is left behind; by one
// it cannot (SIGKILL: no handler, no clean-up), the hidden copy left over is removed by the next
// operation on the same file.
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;

class InterruptedRewrite : public FaultTest {
 protected:
  InterruptedRewrite() : FaultTest(3 << 20) {}  // more than one write, for a signal between two
};

TEST_F(InterruptedRewrite, TheOldFileStaysWholeAndWhatAKillLeavesGoesWithTheNextOperation) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
    RewriteHooks whileWriting;
    whileWriting.allow_write = [signal](std::size_t offset, std::size_t) {
      if (offset > 0) {
        ::raise(signal);
      }
      return true;
    };
    RewriteHooks beforeReplace;
    beforeReplace.before_replace = [signal](const std::string&) { ::raise(signal); };
    for (const RewriteHooks& hooks : {whileWriting, beforeReplace}) {
      SCOPED_TRACE(std::string(strsignal(signal)) + (hooks.before_replace ? " before" : " while"));
      EXPECT_TRUE(EndsBySignal([&] { Perform(hooks); }));
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
  fs::create_directory(ToFsPath(dir.File(JoinPath("game", ".tomb4.exe.varnock-Folder"))));
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

}  // namespace
}  // namespace varnock::testing
