#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <system_error>

#include "engine/patch_operation.h"
#include "support/files.h"
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

void WriteAt(const std::string& path, const Bytes& content) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(content.data()),
             static_cast<std::streamsize>(content.size()));
}

// A one-byte argument patch, dir/patches/Patch#1#.ptc, for dir/game/tomb4.exe.
struct ArgumentPatchFolder {
  ArgumentPatchFolder() : image(RandomImage(256)) {
    exe = dir.Write(JoinPath("game", "tomb4.exe"), image);
    PatchRecord patch =
        Patch(0, {Zone(0x40, Bytes(image.begin() + 0x40, image.begin() + 0x41), {0})});
    WithArgument(patch, NumByte, {0x40});
    path = dir.Write(JoinPath("patches", "Patch#1#.ptc"), WritePatch(patch));
  }
  ResultCode Run(const std::string& answer) {
    ui.QueueAnswer(answer);
    return RunPatchOperation(path, exe, false, loaded, ui);
  }
  std::string Copy(const std::string& name) const { return dir.File(JoinPath("patches", name)); }

  TempDir dir;
  RecordingUi ui;
  PatchRecord loaded;
  Bytes image;
  std::string exe;
  std::string path;
};

TEST(RunPatchOperation, ACopyThatCannotBeMadeIsToldAsSuchAndLeavesNothing) {
  ArgumentPatchFolder folder;
  UnwritableFolder locked(folder.dir.File("patches"));
  if (locked.Unavailable()) {
    GTEST_SKIP() << "no way to make a folder unwritable here";
  }
  EXPECT_EQ(folder.Run("2"), ResultFailed);
  const std::string copy = folder.Copy("temp_Patch#2#.ptc");
  ASSERT_EQ(folder.ui.messages.size(), 2U);
  EXPECT_EQ(folder.ui.messages[0].text.rfind(std::string(kGeneralFailure) + "the temporary copy " +
                                                 copy + " of the patch cannot be made beside it: ",
                                             0),
            0U)
      << folder.ui.messages[0].text;
  EXPECT_EQ(folder.ui.messages[1].text, "ERROR: cann't applying the patch");
  EXPECT_FALSE(std::filesystem::exists(copy));
  EXPECT_EQ(ReadBytes(folder.exe), folder.image);
}

TEST(RunPatchOperation, AnArgumentTooLongForAFileNameIsToldAsSuch) {
  ArgumentPatchFolder folder;
  EXPECT_EQ(folder.Run(std::string(300, '7')), ResultFailed);
  ASSERT_EQ(folder.ui.messages.size(), 2U);
  EXPECT_NE(folder.ui.messages[0].text.find(
                " of the patch cannot be made beside it: " +
                ErrorText(std::make_error_code(std::errc::filename_too_long))),
            std::string::npos)
      << folder.ui.messages[0].text;
  EXPECT_TRUE(Leftovers(folder.dir.File("patches"), {"Patch#1#.ptc"}).empty());
  EXPECT_EQ(ReadBytes(folder.exe), folder.image);
}

// Whatever already has the copy's name (another run's copy, a file of the user's, a folder or
// a link to nowhere left behind) is left exactly as it is, never loaded, and the patch the
// user chose is applied through a copy of its own.
TEST(RunPatchOperation, AnEntryUnderTheCopysNameIsLeftAlone) {
  namespace fs = std::filesystem;
  const std::vector<std::pair<std::string, std::function<void(const std::string&)>>> kEntries = {
      {"a file", [](const std::string& at) { WriteAt(at, ToBytes("my notes")); }},
      {"a read-only stale copy",
       [](const std::string& at) {
         WriteAt(at, WritePatch(Patch(DontVerifySource, {Zone(200, {0}, {0xAA})})));
         fs::permissions(at, fs::perms::owner_read);
       }},
      {"a folder", [](const std::string& at) { fs::create_directory(at); }},
      {"a link to nowhere", [](const std::string& at) { fs::create_symlink(at + ".nowhere", at); }},
  };
  for (const auto& [what, make] : kEntries) {
    ArgumentPatchFolder folder;
    const std::string taken = folder.Copy("temp_Patch#2#.ptc");
    make(taken);
    const fs::file_status before = fs::symlink_status(taken);
    const Bytes content = fs::is_regular_file(before) ? ReadBytes(taken) : Bytes{};
    EXPECT_EQ(folder.Run("2"), ResultDone) << what;
    EXPECT_EQ(folder.ui.Texts(),
              std::vector<std::string>{"Ok: applying patch operation has been performed"});
    Bytes applied = folder.image;
    applied[0x40] = 2;
    EXPECT_EQ(ReadBytes(folder.exe), applied) << what;
    EXPECT_EQ(fs::symlink_status(taken).type(), before.type()) << what;
    if (fs::is_regular_file(before)) {
      EXPECT_EQ(ReadBytes(taken), content) << what;
    }
    EXPECT_TRUE(
        Leftovers(folder.dir.File("patches"), {"Patch#1#.ptc", "temp_Patch#2#.ptc"}).empty())
        << what;
  }
}

}  // namespace
}  // namespace varnock::testing
