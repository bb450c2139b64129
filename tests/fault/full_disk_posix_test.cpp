// The disk fills while the new content is written: a real limit, not a simulated one. The
// operation runs in a child process that has the limit, and reports what the user saw.
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

constexpr char kSeparator = '\x1e';

// The result code, then every message, each after a separator.
std::string Report(ResultCode result, const RecordingUi& ui) {
  std::string report = std::to_string(result);
  for (const std::string& text : ui.Texts()) {
    report += kSeparator + text;
  }
  return report;
}

std::vector<std::string> Split(const std::string& report) {
  std::vector<std::string> parts(1);
  for (const char c : report) {
    if (c == kSeparator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

class FullDisk : public FaultTest {
 protected:
  FullDisk() {
    PatchRecord withArgument = Zones();
    WithArgument(withArgument, NumByte, {100});
    argumentPatch = WritePatchNamed("Patch#1#.ptc", withArgument);
  }

  // What the user saw: the file system's own description, then the closing message.
  void ExpectFailureSaying(const std::string& report, const std::string& description) {
    const std::vector<std::string> parts = Split(report);
    ASSERT_EQ(parts.size(), 3U) << report;
    EXPECT_EQ(parts[0], std::to_string(ResultFailed));
    EXPECT_EQ(parts[1], kGeneralFailure + description);
    EXPECT_EQ(parts[2], kApplyFailed);
  }

  std::string argumentPatch;
};

TEST_F(FullDisk, AFileSizeLimitReachedMidRewriteLeavesTheOldFileAndNoTemporaryFiles) {
  ChildProcess child([this] {
    const rlimit limit{image.size() / 2, image.size() / 2};
    ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ui.QueueAnswer("9");
    const ResultCode result = Apply(argumentPatch);
    return Report(result, ui);
  });
  ASSERT_TRUE(child.Started());
  ExpectFailureSaying(child.Report(), "File too large");
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_TRUE(LeftBehind({"tomb4.exe", "Patch.ptc", "Patch#1#.ptc"}).empty())
      << ::testing::PrintToString(LeftBehind({"tomb4.exe", "Patch.ptc", "Patch#1#.ptc"}));
}

// A small file system of its own, mounted in a mount namespace private to the child, so the
// mount goes with it whatever happens. Checked inside the child, the only one that sees it.
TEST_F(FullDisk, AFileSystemThatFillsUpMidRewriteLeavesTheOldFileAndNoTemporaryFiles) {
  const std::string small = dir.File("small");
  fs::create_directory(ToFsPath(small));
  ChildProcess child([&] {
    const std::string options = "size=" + std::to_string(image.size() * 3 / 2);
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", small.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      return std::string("unavailable");
    }
    exe = dir.Write(JoinPath("small", "tomb4.exe"), image);
    const std::string onSmall =
        dir.Write(JoinPath("small", "Patch#1#.ptc"), ReadBytes(argumentPatch));
    ui.QueueAnswer("9");
    const ResultCode result = Apply(onSmall);
    const bool unchanged = ReadBytes(exe) == image;
    const bool nothingLeft = Leftovers(small, {"tomb4.exe", "Patch#1#.ptc"}).empty();
    return Report(result, ui) + kSeparator + (unchanged ? "unchanged" : "changed") + kSeparator +
           (nothingLeft ? "nothing left" : "files left");
  });
  ASSERT_TRUE(child.Started());
  const std::string report = child.Report();
  if (report == "unavailable") {
    GTEST_SKIP() << "no private tmpfs can be mounted here";
  }
  std::vector<std::string> parts = Split(report);
  ASSERT_EQ(parts.size(), 5U) << report;
  EXPECT_EQ(parts[3], "unchanged");
  EXPECT_EQ(parts[4], "nothing left");
  parts.resize(3);
  ExpectFailureSaying(parts[0] + kSeparator + parts[1] + kSeparator + parts[2],
                      "No space left on device");
  EXPECT_TRUE(fs::is_empty(ToFsPath(small))) << "the mount stayed inside the child";
}

}  // namespace
}  // namespace varnock::testing
