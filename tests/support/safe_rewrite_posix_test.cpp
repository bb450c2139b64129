#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <tuple>

#include "support/files.h"
#include "support/safe_rewrite.h"
#include "tests/common/immutable_flag.h"
#include "tests/common/temp_dir.h"
#include "tests/support/folder_contents.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::Immutable;
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

struct stat StatOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  return info;
}

Bytes Attribute(const std::string& path, const char* name) {
  Bytes value(256);
  const ssize_t size = ::getxattr(path.c_str(), name, value.data(), value.size());
  value.resize(static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
  return value;
}

// An access control list that also lets user 1234 write: owner rw, user 1234 rw, group r,
// mask rw, others r.
Bytes AccessList() {
  Bytes list = {2, 0, 0, 0};
  for (const auto& [tag, perm, id] :
       {std::tuple{1, 6, -1}, {2, 6, 1234}, {4, 4, -1}, {0x10, 6, -1}, {0x20, 4, -1}}) {
    for (const std::uint32_t value : {std::uint32_t(tag | perm << 16), std::uint32_t(id)}) {
      for (int shift = 0; shift < 32; shift += 8) {
        list.push_back(static_cast<std::uint8_t>(value >> shift));
      }
    }
  }
  return list;
}

// Runs `work` in a child process as an ordinary user; returns the child's exit status.
int AsOrdinaryUser(const std::function<int()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? work() : 99);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What the file has besides its bytes is kept, through the replace or by writing the file
// itself where the replace cannot keep it.
TEST(RewriteFile, KeepsWhatTheFileHasBesidesItsBytes) {
  struct Case {
    const char* name;
    // Prepares the file; false when this system cannot.
    std::function<bool(TempDir&, const std::string&)> prepare;
    std::function<void(TempDir&, const std::string&)> check;
    int how = 0;
  };
  constexpr int Frozen = 1;
  constexpr int OrdinaryUser = 2;
  const std::vector<Case> cases = {
      {"extended attribute",
       [](TempDir&, const std::string& path) {
         return ::setxattr(path.c_str(), "user.origin", "disc", 4, 0) == 0;
       },
       [](TempDir&, const std::string& path) {
         EXPECT_EQ(Attribute(path, "user.origin"), testing::ToBytes("disc"));
       }},
      {"access control list",
       [](TempDir&, const std::string& path) {
         const Bytes list = AccessList();
         return ::setxattr(path.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) ==
                0;
       },
       [](TempDir&, const std::string& path) {
         EXPECT_EQ(Attribute(path, "system.posix_acl_access"), AccessList());
       }},
      {"second name",
       [](TempDir& dir, const std::string& path) {
         return ::link(path.c_str(), dir.File("other.exe").c_str()) == 0;
       },
       [](TempDir& dir, const std::string& path) {
         EXPECT_EQ(ReadBytes(dir.File("other.exe")), ReadBytes(path));
         EXPECT_EQ(StatOf(path).st_nlink, 2U);
         ::unlink(dir.File("other.exe").c_str());
       }},
      {"folder that takes no new files", [](TempDir&, const std::string&) { return true; },
       [](TempDir&, const std::string&) {}, Frozen},
      {"owner other than the user",
       [](TempDir& dir, const std::string& path) {
         return ::chmod(dir.path().c_str(), 0777) == 0 && ::chown(path.c_str(), 1234, 1234) == 0 &&
                ::chmod(path.c_str(), 0666) == 0;
       },
       [](TempDir&, const std::string& path) {
         EXPECT_EQ(StatOf(path).st_uid, 1234U);
         EXPECT_EQ(StatOf(path).st_gid, 1234U);
       },
       OrdinaryUser},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir.Write("tomb4.exe", Pattern(3000, 1));
    std::unique_ptr<Immutable> frozen;
    if (c.how == Frozen) {
      frozen = std::make_unique<Immutable>(dir.path());
    }
    if (!c.prepare(dir, path) || (frozen && frozen->Unavailable()) ||
        (c.how == OrdinaryUser && ::geteuid() != 0)) {
      continue;  // not possible here
    }
    const auto rewrite = [&path] {
      std::string error;
      const bool done = RewriteFile(path, Pattern(3000, 2), error);
      EXPECT_TRUE(done) << error;
      return done ? 0 : 1;
    };
    EXPECT_EQ(c.how == OrdinaryUser ? AsOrdinaryUser(rewrite) : rewrite(), 0);
    EXPECT_EQ(ReadBytes(path), Pattern(3000, 2));
    c.check(dir, path);
    EXPECT_TRUE(Leftovers(dir, {"tomb4.exe"}).empty());
  }
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
