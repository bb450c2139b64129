#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

#include "engine/patch_operation.h"
#include "support/paths.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

// Makes a folder refuse new files for as long as the object lives: by its permissions for an
// ordinary user, by the immutable attribute for the administrator, whom permissions do not
// stop. Unavailable() tells when neither can be had here.
class UnwritableFolder {
 public:
  explicit UnwritableFolder(std::string path) : path_(std::move(path)) {
    if (::geteuid() != 0) {
      applied_ = ::chmod(path_.c_str(), 0555) == 0;
    } else {
      applied_ = SetImmutable(true);
    }
  }
  ~UnwritableFolder() {
    if (applied_ && ::geteuid() == 0) {
      SetImmutable(false);
    } else if (applied_) {
      ::chmod(path_.c_str(), 0755);
    }
  }
  UnwritableFolder(const UnwritableFolder&) = delete;
  UnwritableFolder& operator=(const UnwritableFolder&) = delete;
  bool Unavailable() const { return !applied_; }

 private:
  bool SetImmutable([[maybe_unused]] bool on) {
#ifdef __linux__
    const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
      return false;
    }
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
#else
    return false;
#endif
  }

  std::string path_;
  bool applied_ = false;
};

TEST(RunPatchOperation, ACopyThatCannotBeMadeEndsInTheLoadersMessageAndLeavesNothing) {
  TempDir dir;
  RecordingUi ui;
  PatchRecord loaded;
  const Bytes image = RandomImage(256);
  const std::string exe = dir.Write(JoinPath("game", "tomb4.exe"), image);
  PatchRecord patch =
      Patch(0, {Zone(0x40, Bytes(image.begin() + 0x40, image.begin() + 0x41), {0})});
  WithArgument(patch, NumByte, {0x40});
  const std::string path = dir.Write(JoinPath("patches", "Patch#1#.ptc"), WritePatch(patch));

  UnwritableFolder locked(dir.File("patches"));
  if (locked.Unavailable()) {
    GTEST_SKIP() << "no way to make a folder unwritable here";
  }
  ui.QueueAnswer("2");
  EXPECT_EQ(RunPatchOperation(path, exe, false, loaded, ui), ResultFailed);
  const std::string copy = dir.File(JoinPath("patches", "temp_Patch#2#.ptc"));
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"ERROR: cann't find patch file: " + copy,
                                                  "ERROR: cann't applying the patch"}));
  EXPECT_FALSE(std::filesystem::exists(copy));
  EXPECT_EQ(ReadBytes(exe), image);
}

}  // namespace
}  // namespace varnock::testing
