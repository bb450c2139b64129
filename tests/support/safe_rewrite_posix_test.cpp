#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "support/files.h"
#include "support/paths.h"
#include "support/safe_rewrite.h"
#include "tests/common/immutable_flag.h"
#include "tests/common/temp_dir.h"
#include "tests/support/folder_contents.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::Pattern;
using testing::ReadBytes;

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

// An access control list that also lets user 1234 write: each entry a tag, permissions and
// an id, low byte first.
const Bytes kAccessList = {
    2,    0, 0, 0,                       // version
    1,    0, 6, 0, 255,  255, 255, 255,  // owner rw
    2,    0, 6, 0, 0xD2, 4,   0,   0,    // user 1234 rw
    4,    0, 4, 0, 255,  255, 255, 255,  // group r
    0x10, 0, 6, 0, 255,  255, 255, 255,  // mask rw
    0x20, 0, 4, 0, 255,  255, 255, 255,  // others r
};

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

// The file's second name, beside it.
std::string Other(const std::string& path) {
  return JoinPath(GetParentFolder(path), "other.exe");
}

// What the file has besides its bytes is kept, through the replace or by writing the file
// itself where the replace cannot keep it (a second name, a frozen folder, another owner); a
// symbolic link is followed, not replaced.
TEST(RewriteFile, KeepsWhatTheFileHasBesidesItsBytes) {
  enum How { Plain, Frozen, OrdinaryUser };
  using Step = std::function<bool(const std::string&)>;
  const struct {
    const char* name;
    Step prepare;  // false when this system cannot
    Step check;
    How how = Plain;
  } cases[] = {
      {"mode, set-user-ID, and an owner given away where the user may",
       [](const std::string& p) {
         return (::geteuid() != 0 || ::chown(p.c_str(), 65534, 65534) == 0) &&
                ::chmod(p.c_str(), 04751) == 0;
       },
       [](const std::string& p) {
         const struct stat info = StatOf(p);
         return (info.st_mode & 07777) == 04751 &&
                (::geteuid() != 0 || (info.st_uid == 65534 && info.st_gid == 65534));
       }},
      {"extended attribute and access control list",
       [](const std::string& p) {
         return ::setxattr(p.c_str(), "user.origin", "disc", 4, 0) == 0 &&
                ::setxattr(p.c_str(), "system.posix_acl_access", kAccessList.data(),
                           kAccessList.size(), 0) == 0;
       },
       [](const std::string& p) {
         return Attribute(p, "user.origin") == testing::ToBytes("disc") &&
                Attribute(p, "system.posix_acl_access") == kAccessList;
       }},
      {"second name", [](const std::string& p) { return ::link(p.c_str(), Other(p).c_str()) == 0; },
       [](const std::string& p) {
         return ReadBytes(Other(p)) == ReadBytes(p) && StatOf(p).st_nlink == 2;
       }},
      {"symbolic link",
       [](const std::string& p) {
         return ::rename(p.c_str(), Other(p).c_str()) == 0 &&
                ::symlink("other.exe", p.c_str()) == 0;
       },
       [](const std::string& p) {
         return fs::read_symlink(ToFsPath(p)) == "other.exe" && ReadBytes(Other(p)) == ReadBytes(p);
       }},
      {"folder that takes no new files", [](const std::string&) { return true; },
       [](const std::string&) { return true; }, Frozen},
      {"owner other than the user",
       [](const std::string& p) {
         return ::chmod(GetParentFolder(p).c_str(), 0777) == 0 &&
                ::chown(p.c_str(), 1234, 1234) == 0 && ::chmod(p.c_str(), 0666) == 0;
       },
       [](const std::string& p) { return StatOf(p).st_uid == 1234 && StatOf(p).st_gid == 1234; },
       OrdinaryUser},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir dir;
    const std::string path = dir.Write("tomb4.exe", Pattern(3000, 1));
    const testing::Immutable frozen(c.how == Frozen ? dir.path() : std::string());
    if (!c.prepare(path) || (c.how == Frozen && frozen.Unavailable()) ||
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
    EXPECT_TRUE(c.check(path));
    EXPECT_TRUE(testing::Leftovers(dir, {"tomb4.exe", "other.exe"}).empty());
  }
}

}  // namespace
}  // namespace varnock
