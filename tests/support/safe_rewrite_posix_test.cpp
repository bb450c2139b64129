#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <thread>

#include "support/files.h"
#include "support/paths.h"
#include "support/safe_rewrite.h"
#include "tests/common/faulty_rewrite.h"
#include "tests/common/immutable_flag.h"
#include "tests/common/temp_dir.h"
#include "tests/support/folder_contents.h"
#include "tests/support/scoped_variable.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::Pattern;
using testing::ReadBytes;

// Everything the file has besides its bytes: type and mode, owner, number of names, extended
// attributes and access control list.
std::string Metadata(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  std::string text = std::to_string(info.st_mode) + " " + std::to_string(info.st_uid) + ":" +
                     std::to_string(info.st_gid) + " " + std::to_string(info.st_nlink);
  for (const char* name : {"user.origin", "system.posix_acl_access"}) {
    char value[256] = {};
    text +=
        " " + std::string(value, std::max<ssize_t>(::getxattr(path.c_str(), name, value, 256), 0));
  }
  return text;
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
// itself where the replace cannot keep it (a second name, a frozen folder or one the user may
// not write in, another owner); a symbolic link is followed, not replaced, and a second name
// sees the new bytes.
TEST(RewriteFile, KeepsWhatTheFileHasBesidesItsBytes) {
  enum How { Plain, Frozen, OrdinaryUser };
  const struct {
    const char* name;
    std::function<bool(const std::string&)> prepare;  // false when this system cannot
    How how = Plain;
  } cases[] = {
      {"mode, set-user-ID, and an owner given away where the user may",
       [](const std::string& p) {
         return (::geteuid() != 0 || ::chown(p.c_str(), 65534, 65534) == 0) &&
                ::chmod(p.c_str(), 04751) == 0;
       }},
      {"extended attribute and access control list",
       [](const std::string& p) {
         return ::setxattr(p.c_str(), "user.origin", "disc", 4, 0) == 0 &&
                ::setxattr(p.c_str(), "system.posix_acl_access", kAccessList.data(),
                           kAccessList.size(), 0) == 0;
       }},
      {"second name",
       [](const std::string& p) { return ::link(p.c_str(), Other(p).c_str()) == 0; }},
      {"symbolic link",
       [](const std::string& p) {
         return ::rename(p.c_str(), Other(p).c_str()) == 0 &&
                ::symlink("other.exe", p.c_str()) == 0;
       }},
      {"folder that takes no new files", [](const std::string&) { return true; }, Frozen},
      {"owner other than the user",
       [](const std::string& p) {
         return ::chmod(GetParentFolder(p).c_str(), 0777) == 0 &&
                ::chown(p.c_str(), 1234, 1234) == 0 && ::chmod(p.c_str(), 0666) == 0;
       },
       OrdinaryUser},
      {"folder the user may not write in",
       [](const std::string& p) {
         return ::chmod(GetParentFolder(p).c_str(), 0755) == 0 && ::chmod(p.c_str(), 0666) == 0;
       },
       OrdinaryUser},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir dir;
    testing::TempDir data;  // the journal's folder when the file's own takes no new files
    const testing::ScopedVariable dataHome("XDG_DATA_HOME", data.path());
    ASSERT_EQ(::chmod(data.path().c_str(), 0777), 0);
    const std::string path = dir.Write("tomb4.exe", Pattern(3000, 1));
    const testing::Immutable frozen(c.how == Frozen ? dir.path() : std::string());
    if (!c.prepare(path) || (c.how == Frozen && frozen.Unavailable()) ||
        (c.how == OrdinaryUser && ::geteuid() != 0)) {
      continue;  // not possible here
    }
    const std::string before = Metadata(path);
    const bool link = fs::is_symlink(ToFsPath(path));
    const auto rewrite = [&path] {
      std::string error;
      const bool done = RewriteFile(path, Pattern(3000, 2), error);
      EXPECT_TRUE(done) << error;
      return done ? 0 : 1;
    };
    EXPECT_EQ(c.how == OrdinaryUser ? AsOrdinaryUser(rewrite) : rewrite(), 0);
    EXPECT_EQ(ReadBytes(path), Pattern(3000, 2));
    EXPECT_EQ(Metadata(path), before);
    EXPECT_EQ(fs::is_symlink(ToFsPath(path)), link);
    const bool other = fs::exists(ToFsPath(Other(path)));
    EXPECT_TRUE(!other || ReadBytes(Other(path)) == ReadBytes(path));
    EXPECT_EQ(testing::NamesIn(dir),
              (other ? testing::Names{"tomb4.exe", "other.exe"} : testing::Names{"tomb4.exe"}));
  }
}

// A file with a second name is written in place. Any signal that would end the program, sent
// meanwhile, reaches another of its threads, which does not hold it; the program still ends
// only once the file holds all its new bytes.
TEST(RewriteFile, AWriteInPlaceEndsBeforeAnInterruptionEndsTheProgram) {
  constexpr std::size_t kSize = std::size_t{3} << 20;  // more than one write
  for (const int signal :
       {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM, SIGVTALRM, SIGPROF,
        SIGXCPU, SIGIO, SIGSTKFLT, SIGPWR, SIGRTMIN, SIGRTMIN + 5, SIGRTMAX}) {
    SCOPED_TRACE(strsignal(signal));
    testing::TempDir dir;
    const std::string path = dir.Write("tomb4.exe", Pattern(kSize, 1));
    ASSERT_EQ(::link(path.c_str(), Other(path).c_str()), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      const rlimit noCore{0, 0};
      ::setrlimit(RLIMIT_CORE, &noCore);
      ::signal(signal, SIG_DFL);  // as in a program started from a terminal
      std::thread([] {
        for (;;) {
          ::pause();  // takes every signal, to the end of the program
        }
      }).detach();
      WriteFaults hooks;
      hooks.allow_write = [signal](std::size_t offset, std::size_t) {
        if (offset > 0) {
          ::kill(::getpid(), signal);
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
      };
      std::string error;
      ::_exit(RewriteFileWith(hooks, path, Pattern(kSize, 2), error) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_TRUE(ReadBytes(path) == Pattern(kSize, 2)) << "the file was left half written";
  }
}

// In a folder that takes no new files, the journal of a write in place goes to the per-user
// folder, named for the file's identity, and the next opening finds it there.
TEST(RewriteFile, AJournalGoesToTheUserFolderWhenTheFilesFolderTakesNoNewFiles) {
  testing::TempDir dir;
  const std::string path = dir.Write(JoinPath("frozen", "tomb4.exe"), Pattern(100, 1));
  const testing::ScopedVariable data("XDG_DATA_HOME", dir.File("data"));
  const testing::Immutable frozen(dir.File("frozen"));
  if (frozen.Unavailable()) {
    GTEST_SKIP() << "the immutable attribute cannot be set here";
  }
  WriteFaults crash;
  crash.allow_write = [](std::size_t, std::size_t) -> bool { throw std::runtime_error("crash"); };
  std::string error;
  EXPECT_THROW(RewriteFileWith(crash, path, Pattern(100, 2), error), std::runtime_error);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  const std::string journals = dir.File(JoinPath(JoinPath("data", "varnock"), "journals"));
  EXPECT_TRUE(FileExists(JoinPath(
      journals, "journal-" + std::to_string(info.st_dev) + "-" + std::to_string(info.st_ino))));
  LockedFile file;
  ASSERT_TRUE(file.Open(path, error)) << error;
  EXPECT_EQ(file.Interrupted().notice,
            path + " was restored to its state before an interrupted write");
  EXPECT_TRUE(fs::is_empty(ToFsPath(journals)));
  // Where no folder takes the journal either, the file is not written at all.
  const testing::Immutable journalsFrozen(journals);
  EXPECT_FALSE(file.Rewrite(Pattern(100, 3), error));
  EXPECT_NE(error.find("the journal that makes the write safe could not be written"),
            std::string::npos)
      << error;
  EXPECT_EQ(ReadBytes(path), Pattern(100, 1));
}

}  // namespace
}  // namespace varnock
