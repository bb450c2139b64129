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

// A symbolic link is followed, not replaced.
TEST(RewriteFile, FollowsSymbolicLinks) {
  TempDir dir;
  const std::string target = dir.Write("real.exe", Pattern(100, 1));
  fs::create_symlink("real.exe", ToFsPath(dir.File("link.exe")));
  std::string error;
  ASSERT_TRUE(RewriteFile(dir.File("link.exe"), Pattern(100, 2), error)) << error;
  EXPECT_EQ(fs::read_symlink(ToFsPath(dir.File("link.exe"))), fs::path("real.exe"));
  EXPECT_EQ(ReadBytes(target), Pattern(100, 2));
  EXPECT_TRUE(Leftovers(dir, {"real.exe", "link.exe"}).empty());
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
// itself where the replace cannot keep it (a second name, a frozen folder, another owner).
TEST(RewriteFile, KeepsWhatTheFileHasBesidesItsBytes) {
  enum How { Plain, Frozen, OrdinaryUser };
  using Step = std::function<bool(TempDir&, const std::string&)>;
  const struct {
    const char* name;
    Step prepare;  // false when this system cannot
    Step check;
    How how = Plain;
  } cases[] = {
      {"mode", [](TempDir&, const std::string& p) { return ::chmod(p.c_str(), 0751) == 0; },
       [](TempDir&, const std::string& p) { return (StatOf(p).st_mode & 07777) == 0751; }},
      {"owner given away, set-user-ID",
       [](TempDir&, const std::string& p) {
         return ::geteuid() == 0 && ::chown(p.c_str(), 65534, 65534) == 0 &&
                ::chmod(p.c_str(), 04755) == 0;
       },
       [](TempDir&, const std::string& p) {
         const struct stat info = StatOf(p);
         return info.st_uid == 65534 && info.st_gid == 65534 && (info.st_mode & 07777) == 04755;
       }},
      {"extended attribute",
       [](TempDir&, const std::string& p) {
         return ::setxattr(p.c_str(), "user.origin", "disc", 4, 0) == 0;
       },
       [](TempDir&, const std::string& p) {
         return Attribute(p, "user.origin") == testing::ToBytes("disc");
       }},
      {"access control list",
       [](TempDir&, const std::string& p) {
         const Bytes list = AccessList();
         return ::setxattr(p.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) == 0;
       },
       [](TempDir&, const std::string& p) {
         return Attribute(p, "system.posix_acl_access") == AccessList();
       }},
      {"second name",
       [](TempDir& dir, const std::string& p) {
         return ::link(p.c_str(), dir.File("other.exe").c_str()) == 0;
       },
       [](TempDir& dir, const std::string& p) {
         return ReadBytes(dir.File("other.exe")) == ReadBytes(p) && StatOf(p).st_nlink == 2;
       }},
      {"folder that takes no new files", [](TempDir&, const std::string&) { return true; },
       [](TempDir&, const std::string&) { return true; }, Frozen},
      {"owner other than the user",
       [](TempDir& dir, const std::string& p) {
         return ::chmod(dir.path().c_str(), 0777) == 0 && ::chown(p.c_str(), 1234, 1234) == 0 &&
                ::chmod(p.c_str(), 0666) == 0;
       },
       [](TempDir&, const std::string& p) {
         return StatOf(p).st_uid == 1234 && StatOf(p).st_gid == 1234;
       },
       OrdinaryUser},
  };
  for (const auto& c : cases) {
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
    EXPECT_TRUE(c.check(dir, path));
    EXPECT_TRUE(Leftovers(dir, {"tomb4.exe", "other.exe"}).empty());
  }
}

}  // namespace
}  // namespace varnock
