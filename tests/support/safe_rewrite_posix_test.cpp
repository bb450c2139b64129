#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"
#include "support/safe_rewrite.h"
#include "tests/common/temp_dir.h"
#include "tests/support/folder_contents.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::Leftovers;
using testing::Pattern;
using testing::ReadBytes;
using testing::TempDir;

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0);
  return info.st_mode;
}

TEST(RewriteFile, ReplacesContentAndKeepsMode) {
  TempDir dir;
  const std::string path = dir.Write("tomb4.exe", Pattern(5000, 1));
  ::chmod(path.c_str(), 0751);
  const Bytes next = Pattern(5000, 2);
  std::string error;
  ASSERT_TRUE(RewriteFile(path, next, error)) << error;
  EXPECT_EQ(ReadBytes(path), next);
  EXPECT_EQ(ModeOf(path) & 07777, 0751u);
  EXPECT_TRUE(Leftovers(dir, {"tomb4.exe"}).empty());
}

TEST(RewriteFile, KeepsOwnerWhereAllowed) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "only a privileged user can give a file away";
  }
  TempDir dir;
  const std::string path = dir.Write("tomb4.exe", Pattern(10, 1));
  ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  ::chmod(path.c_str(), 04755);
  std::string error;
  ASSERT_TRUE(RewriteFile(path, Pattern(10, 2), error)) << error;
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
  EXPECT_EQ(info.st_mode & 07777, 04755u);
}

TEST(RewriteFile, FollowsSymbolicLink) {
  TempDir dir;
  const std::string target = dir.Write("real.exe", Pattern(100, 1));
  const std::string link = dir.File("link.exe");
  fs::create_symlink("real.exe", ToFsPath(link));
  std::string error;
  ASSERT_TRUE(RewriteFile(link, Pattern(100, 2), error)) << error;
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(ToFsPath(link))));
  EXPECT_EQ(fs::read_symlink(ToFsPath(link)), fs::path("real.exe"));
  EXPECT_EQ(ReadBytes(target), Pattern(100, 2));
  EXPECT_TRUE(Leftovers(dir, {"real.exe", "link.exe"}).empty());
}

TEST(RewriteFile, ReadOnlyFileBehindALinkIsRefused) {
  TempDir dir;
  const Bytes old = Pattern(100, 1);
  const std::string readOnly = dir.Write("ro.exe", old);
  ::chmod(readOnly.c_str(), 0444);
  fs::create_symlink("ro.exe", ToFsPath(dir.File("link.exe")));
  std::string error;
  EXPECT_FALSE(RewriteFile(dir.File("link.exe"), Pattern(100, 2), error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadBytes(readOnly), old);
  EXPECT_EQ(ModeOf(readOnly) & 07777, 0444u);
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(ToFsPath(dir.File("link.exe")))));
  EXPECT_TRUE(Leftovers(dir, {"ro.exe", "link.exe"}).empty());
}

// Runs a rewrite in a child process that dies at the hook, as in a crash or power loss.
void CrashDuringRewrite(const std::string& path, const Bytes& content, const RewriteHooks& hooks) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::string error;
    RewriteFile(path, content, error, &hooks);
    ::_exit(0);  // the hook was never reached
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << "the child did not die at the hook";
}

TEST(RewriteFile, CrashBeforeReplaceLeavesOldFileWhole) {
  TempDir dir;
  const Bytes old = Pattern(2 << 20, 1);
  const std::string path = dir.Write("tomb4.exe", old);
  RewriteHooks hooks;
  hooks.before_replace = [](const std::string&) { ::_exit(1); };
  CrashDuringRewrite(path, Pattern(2 << 20, 2), hooks);
  EXPECT_EQ(ReadBytes(path), old);
  // A crash may leave the temporary file, never in the file's place.
  for (const std::string& name : Leftovers(dir, {"tomb4.exe"})) {
    EXPECT_NE(name.find("varnock"), std::string::npos) << name;
  }
}

TEST(RewriteFile, CrashWhileWritingLeavesOldFileWhole) {
  TempDir dir;
  const Bytes old = Pattern(3 << 20, 1);
  const std::string path = dir.Write("tomb4.exe", old);
  RewriteHooks hooks;
  hooks.allow_write = [](std::size_t offset, std::size_t) {
    if (offset > 0) {
      ::_exit(1);
    }
    return true;
  };
  CrashDuringRewrite(path, Pattern(3 << 20, 2), hooks);
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(Leftovers(dir, {"tomb4.exe"}).size(), 1u);
  for (const std::string& name : Leftovers(dir, {"tomb4.exe"})) {
    EXPECT_NE(name.find("varnock"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace varnock
