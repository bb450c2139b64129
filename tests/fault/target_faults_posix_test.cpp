// The executable is not what it was when the operation began, or may not be written: every
// case ends with a clear message, and the file is left byte-identical or rewritten whole.
#include <sys/stat.h>

#include <filesystem>

#include "engine/perform_patch.h"
#include "support/files.h"
#include "tests/common/immutable_flag.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;

using TargetFaults = FaultTest;

TEST_F(TargetFaults, AnExecutableThatMayNotBeWrittenIsLeftAsItWas) {
  ASSERT_EQ(::chmod(exe.c_str(), 0444), 0);
  EXPECT_EQ(Apply(patch), ResultFailed);
  ASSERT_EQ(ui.messages.size(), 2U) << ::testing::PrintToString(ui.Texts());
  EXPECT_TRUE(ui.messages[0].text.rfind(kGeneralFailure, 0) == 0 &&
              ui.messages[0].text.find("ermission denied") != std::string::npos)
      << ui.messages[0].text;
  EXPECT_EQ(ui.messages[1], (RecordedMessage{kApplyFailed, MessageIcon::None}));
  EXPECT_EQ(ReadBytes(exe), image);
  struct stat info {};
  ASSERT_EQ(::stat(exe.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0444U) << "the file's mode is not touched";
  ASSERT_EQ(::chmod(exe.c_str(), 0644), 0);

  // Immutable: write permission bits set, yet nobody may change the file.
  Immutable locked(exe);
  if (locked.Unavailable()) {
    GTEST_SKIP() << "the immutable attribute cannot be set here";
  }
  ui.Clear();
  EXPECT_EQ(Apply(patch), ResultFailed);
  ASSERT_EQ(ui.messages.size(), 2U) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ui.messages[0].text.rfind(kGeneralFailure, 0), 0U) << ui.messages[0].text;
  EXPECT_EQ(ui.messages[1].text, kApplyFailed);
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_TRUE(LeftBehind().empty()) << ::testing::PrintToString(LeftBehind());
}

// While the user types the argument, the executable goes away or becomes a folder.
TEST_F(TargetFaults, AnExecutableGoneWhileTheArgumentIsAskedIsReportedNotRecreated) {
  PatchRecord withArgument = Zones();
  WithArgument(withArgument, NumByte, {100});
  const std::string argumentPatch = WritePatchNamed("Patch#1#.ptc", withArgument);
  ui.whileAsked = [this] { fs::remove(ToFsPath(exe)); };
  ui.QueueAnswer("9");
  EXPECT_EQ(Apply(argumentPatch), ResultFailed);
  ASSERT_EQ(ui.messages.size(), 2U) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
  EXPECT_NE(ui.messages[0].text.find("No such file"), std::string::npos) << ui.messages[0].text;
  EXPECT_EQ(ui.messages[1].text, kApplyFailed);
  EXPECT_FALSE(fs::exists(ToFsPath(exe)));

  // Bound to one version: the signature cannot be computed any more, and says so.
  withArgument.Flags |= SameExeVersionOnly;
  WritePatchNamed("Patch#1#.ptc", withArgument);
  dir.Write(JoinPath("game", "tomb4.exe"), image);
  ui.Clear();
  ui.QueueAnswer("9");
  EXPECT_EQ(Apply(argumentPatch), ResultFailed);
  ASSERT_EQ(ui.messages.size(), 2U) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ui.messages[0].text.rfind("ERROR trying to compute version of file: " + exe, 0), 0U);
  EXPECT_EQ(ui.messages[1].text, kApplyFailed);
  EXPECT_FALSE(fs::exists(ToFsPath(exe)));

  ui.whileAsked = [this] {
    fs::remove(ToFsPath(exe));
    fs::create_directory(ToFsPath(exe));
  };
  withArgument.Flags &= ~SameExeVersionOnly;
  WritePatchNamed("Patch#1#.ptc", withArgument);
  fs::remove_all(ToFsPath(exe));
  dir.Write(JoinPath("game", "tomb4.exe"), image);
  ui.Clear();
  ui.QueueAnswer("9");
  EXPECT_EQ(Apply(argumentPatch), ResultFailed);
  ASSERT_EQ(ui.messages.size(), 2U) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ui.messages[0].text.rfind(kGeneralFailure, 0), 0U) << ui.messages[0].text;
  EXPECT_EQ(ui.messages[1].text, kApplyFailed);
  EXPECT_TRUE(fs::is_directory(ToFsPath(exe)));
  EXPECT_TRUE(fs::is_empty(ToFsPath(exe)));
  EXPECT_TRUE(LeftBehind({"tomb4.exe", "Patch.ptc", "Patch#1#.ptc"}).empty())
      << ::testing::PrintToString(LeftBehind({"tomb4.exe", "Patch.ptc", "Patch#1#.ptc"}));
}

// The executable goes away, or a folder takes its place, while its new content is written.
TEST_F(TargetFaults, AnExecutableGoneDuringTheRewriteIsNeverLeftHalfWritten) {
  std::string version;
  RewriteHooks removeIt;
  removeIt.allow_write = [this](std::size_t, std::size_t) {
    fs::remove(ToFsPath(exe));
    return true;
  };
  // Another program removed it: that is its choice, not undone, and said.
  EXPECT_EQ(PerformPatch(patch, exe, false, version, loaded, ui, &removeIt), ResultFailed);
  EXPECT_TRUE(OnlyGeneralFailure(ui)) << ::testing::PrintToString(ui.Texts());
  EXPECT_FALSE(fs::exists(ToFsPath(exe)));
  EXPECT_TRUE(LeftBehind({"Patch.ptc"}).empty()) << ::testing::PrintToString(LeftBehind());

  dir.Write(JoinPath("game", "tomb4.exe"), image);
  ui.Clear();
  RewriteHooks folderInstead;
  folderInstead.before_replace = [this](const std::string&) {
    fs::remove(ToFsPath(exe));
    fs::create_directory(ToFsPath(exe));
  };
  EXPECT_EQ(PerformPatch(patch, exe, false, version, loaded, ui, &folderInstead), ResultFailed);
  EXPECT_TRUE(OnlyGeneralFailure(ui)) << ::testing::PrintToString(ui.Texts());
  EXPECT_TRUE(fs::is_directory(ToFsPath(exe)));
  EXPECT_TRUE(fs::is_empty(ToFsPath(exe)));
  EXPECT_TRUE(LeftBehind().empty()) << ::testing::PrintToString(LeftBehind());
}

}  // namespace
}  // namespace varnock::testing
