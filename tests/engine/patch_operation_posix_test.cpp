#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "engine/patch_operation.h"
#include "support/paths.h"
#include "tests/common/immutable_flag.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

// Makes a folder refuse new files for as long as the object lives: by its permissions for an
// ordinary user, by the immutable attribute for the administrator, whom permissions do not
// stop. Unavailable() tells when neither can be had here.
class UnwritableFolder {
 public:
  explicit UnwritableFolder(const std::string& path) : path_(path) {
    if (::geteuid() == 0) {
      immutable_.emplace(path);
      applied_ = !immutable_->Unavailable();
    } else {
      applied_ = ::chmod(path_.c_str(), 0555) == 0;
    }
  }
  ~UnwritableFolder() {
    if (applied_ && !immutable_) {
      ::chmod(path_.c_str(), 0755);
    }
  }
  UnwritableFolder(const UnwritableFolder&) = delete;
  UnwritableFolder& operator=(const UnwritableFolder&) = delete;
  bool Unavailable() const { return !applied_; }

 private:
  std::string path_;
  std::optional<Immutable> immutable_;
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
