// The disk fills while the new content is written: a real limit, not a simulated one. The
// operation runs in a child process that has the limit, and reports what the user saw, whether
// the executable kept its bytes and what was left beside it.
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <filesystem>

#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;
using FullDisk = FaultTest;

// A file size limit, or a small file system of its own, mounted in a mount namespace private
// to the child, so the mount goes with it whatever happens.
TEST_F(FullDisk, TheOldFileStaysWholeAndNoTemporaryFileIsLeft) {
  fs::create_directory(ToFsPath(dir.File("small")));
  const std::pair<std::string, std::string> cases[] = {{"game", "File too large"},
                                                       {"small", "No space left on device"}};
  for (const auto& [folder, description] : cases) {
    ChildProcess child([&, folder = folder] {
      const std::string options = "size=" + std::to_string(image.size() * 3 / 2);
      if (folder == "small" &&
          (::unshare(CLONE_NEWNS) != 0 ||
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
           ::mount("tmpfs", dir.File(folder).c_str(), "tmpfs", 0, options.c_str()) != 0)) {
        return std::string("unavailable");
      }
      const std::string target = dir.Write(JoinPath(folder, "tomb4.exe"), image);
      const std::string copy = dir.Write(JoinPath(folder, "P#1#.ptc"), ReadBytes(argumentPatch));
      const rlimit limit{image.size() / 2, image.size() / 2};
      ::signal(SIGXFSZ, SIG_IGN);
      if (folder == "game" && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        return std::string("unavailable");
      }
      ui.QueueAnswer("9");
      std::string report = std::to_string(RunPatchOperation(copy, target, false, loaded, ui));
      for (const std::string& text : ui.Texts()) {
        report += "\n" + text;
      }
      for (const std::string& name : Leftovers(dir.File(folder), {"tomb4.exe", "P#1#.ptc"})) {
        report += "\nleft " + name;
      }
      return report + (ReadBytes(target) == image ? "\nunchanged" : "\nchanged");
    });
    const std::string report = child.Report();
    EXPECT_TRUE(report == "unavailable" || report == std::to_string(ResultFailed) + "\n" +
                                                         kGeneralFailure + description + "\n" +
                                                         kApplyFailed + "\nunchanged")
        << report;
  }
  EXPECT_TRUE(fs::is_empty(ToFsPath(dir.File("small")))) << "the mount stayed inside the child";
}

}  // namespace
}  // namespace varnock::testing
