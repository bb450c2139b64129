// The disk fills while the new content is written: a real limit, not a simulated one. The
// operation runs in a child process that has the limit, and reports what the user saw, whether
// the executable kept its bytes and what was left beside it.
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <filesystem>
#include <tuple>

#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

using FullDisk = FaultTest;

// A file size limit, or a small file system of its own, mounted in a mount namespace private
// to the child, so the mount goes with it whatever happens.
TEST_F(FullDisk, TheOldFileStaysWholeAndNoTemporaryFileIsLeft) {
  std::filesystem::create_directory(ToFsPath(dir.File("small")));
  for (const std::string folder : {"game", "small"}) {
    const std::string report =
        ChildProcess([&] {
          const std::string options = "size=" + std::to_string(image.size() * 3 / 2);
          if (folder == "small" &&
              (::unshare(CLONE_NEWNS) != 0 ||
               ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
               ::mount("tmpfs", dir.File(folder).c_str(), "tmpfs", 0, options.c_str()) != 0)) {
            return std::string("unavailable");
          }
          const std::string target = dir.Write(JoinPath(folder, "tomb4.exe"), image);
          const std::string copy =
              dir.Write(JoinPath(folder, "P#1#.ptc"), ReadBytes(argumentPatch));
          const rlimit limit{image.size() / 2, image.size() / 2};
          ::signal(SIGXFSZ, SIG_IGN);
          if (folder == "game" && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return std::string("unavailable");
          }
          ui.QueueAnswer("9");
          const ResultCode result = RunPatchOperation(copy, target, false, loaded, ui);
          return ::testing::PrintToString(
              std::tuple(result, ui.Texts(), ReadBytes(target) == image,
                         Leftovers(dir.File(folder), {"tomb4.exe", "P#1#.ptc"})));
        }).Report();
    const std::string description = folder == "game" ? "File too large" : "No space left on device";
    EXPECT_TRUE(report == "unavailable" ||
                report == ::testing::PrintToString(std::tuple(
                              ResultFailed, Names{kGeneralFailure + description, kApplyFailed},
                              true, Names{})))
        << report;
  }
  EXPECT_TRUE(std::filesystem::is_empty(ToFsPath(dir.File("small"))))
      << "the mount stayed inside the child";
}

}  // namespace
}  // namespace varnock::testing
