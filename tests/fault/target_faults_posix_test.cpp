// The executable is not what it was when the operation began, or may not be written: every
// case ends with a clear message, and the file is left byte-identical or rewritten whole.
#include <sys/stat.h>

#include <filesystem>

#include "tests/common/immutable_flag.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;
using TargetFaults = FaultTest;

// Read-only by its mode, or immutable: write permission bits set, yet nobody may change it.
TEST_F(TargetFaults, AnExecutableThatMayNotBeWrittenIsLeftAsItWas) {
  ASSERT_EQ(::chmod(exe.c_str(), 0444), 0);
  EXPECT_EQ(Apply(patch), ResultFailed);
  ExpectFailure("ermission denied");
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_EQ(fs::status(exe).permissions(), fs::perms(0444)) << "the file's mode is not touched";
  ASSERT_EQ(::chmod(exe.c_str(), 0644), 0);
  const Immutable locked(exe);
  if (locked.Unavailable()) {
    GTEST_SKIP() << "the immutable attribute cannot be set here";
  }
  ui.Clear();
  EXPECT_EQ(Apply(patch), ResultFailed);
  ExpectFailure("");
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_EQ(LeftBehind(), Names{});
}

// While the user types the argument, or while the new content is written, the executable goes
// away or a folder takes its place: that is another program's choice, not undone, and said.
TEST_F(TargetFaults, AnExecutableGoneOrReplacedByAFolderIsReportedNotRecreated) {
  const auto remove = [this] { fs::remove(ToFsPath(exe)); };
  const auto folder = [this] {
    fs::remove(ToFsPath(exe));
    fs::create_directory(ToFsPath(exe));
  };
  const struct {
    std::function<void()> change;
    std::int32_t flags;
    std::string start;
    const char* description;
  } asked[] = {
      {remove, 0, kGeneralFailure, "No such file"},
      // Bound to one version: the signature cannot be computed any more.
      {remove, SameExeVersionOnly, "ERROR trying to compute version of file: " + exe, ""},
      {folder, 0, kGeneralFailure, ""},
  };
  const auto expectNoFileMade = [this] {
    EXPECT_FALSE(FileExists(exe));
    EXPECT_TRUE(!fs::exists(ToFsPath(exe)) || fs::is_empty(ToFsPath(exe)));
    EXPECT_EQ(LeftBehind(), Names{});
    fs::remove_all(ToFsPath(exe));
    dir.Write(JoinPath("game", "tomb4.exe"), image);
    ui.Clear();
  };
  for (const auto& c : asked) {
    SCOPED_TRACE(c.start + c.description);
    PatchRecord withArgument = Zones(true);
    withArgument.Flags |= c.flags;
    WritePatchNamed("Patch#1#.ptc", withArgument);
    ui.whileAsked = c.change;
    ui.QueueAnswer("9");
    EXPECT_EQ(Apply(argumentPatch), ResultFailed);
    ExpectFailure(c.description, c.start);
    expectNoFileMade();
  }
  ui.whileAsked = nullptr;
  RewriteHooks removed;
  removed.allow_write = [&](std::size_t, std::size_t) {
    remove();
    return true;
  };
  RewriteHooks replaced;
  replaced.before_replace = [&](const std::string&) { folder(); };
  for (const RewriteHooks& hooks : {removed, replaced}) {
    EXPECT_EQ(Perform(hooks), ResultFailed);
    EXPECT_TRUE(OnlyGeneralFailure(ui)) << Told();
    expectNoFileMade();
  }
}

}  // namespace
}  // namespace varnock::testing
