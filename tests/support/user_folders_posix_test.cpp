#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"
#include "support/paths.h"
#include "support/user_folders.h"
#include "tests/common/immutable_flag.h"
#include "tests/common/temp_dir.h"
#include "tests/support/scoped_variable.h"

namespace varnock::testing {
namespace {

class UserFoldersPosix : public ::testing::Test {
 protected:
  UserFoldersPosix() {
    std::filesystem::create_directories(runtime);
    std::filesystem::create_directories(temporary);
  }
  TempDir dir;
  std::string runtime = dir.File("runtime");
  std::string temporary = dir.File("tmp");
  const ScopedVariable home{"HOME", dir.File("home")};
  const ScopedVariable tmpdir{"TMPDIR", temporary};
  std::string own = "varnock-" + std::to_string(::geteuid());
  // A data home that cannot be made: it would lie below a file.
  std::string blocked = JoinPath(dir.WriteText("file", "x"), "data");
};

// The data home decides, a relative one is ignored; where it cannot be made, a folder of the
// user's own in the runtime folder, else in the temporary folder, that only the user may enter.
TEST_F(UserFoldersPosix, ThePatchFolderAndItsFallbacks) {
  const std::string inHome = JoinPath(dir.File("home"), ".local/share/varnock/patches");
  const std::tuple<std::optional<std::string>, std::optional<std::string>, std::string> cases[] = {
      {dir.File("data"), runtime, JoinPath(dir.File("data"), "varnock/patches")},
      {"relative/data", std::nullopt, inHome},
      {std::nullopt, std::nullopt, inHome},
      {blocked, runtime, JoinPath(JoinPath(runtime, own), "patches")},
      {blocked, "relative", JoinPath(JoinPath(temporary, own), "patches")},
  };
  for (const auto& [dataHome, runtimeFolder, expected] : cases) {
    const ScopedVariable data("XDG_DATA_HOME", dataHome);
    const ScopedVariable run("XDG_RUNTIME_DIR", runtimeFolder);
    EXPECT_EQ(UserPatchFolder(), expected) << dataHome.value_or("unset");
    EXPECT_TRUE(FolderExists(expected));
  }
  struct stat made {};
  ASSERT_EQ(::stat(JoinPath(temporary, own).c_str(), &made), 0);
  EXPECT_EQ(made.st_mode & 0777, 0700U);
}

// A folder of that name made beforehand in the temporary folder by someone else, one that lets
// others in, or a link is refused: no folder rather than one another user can reach.
TEST_F(UserFoldersPosix, AFolderSomeoneElseMadeInTheTemporaryFolderIsRefused) {
  const ScopedVariable data("XDG_DATA_HOME", blocked);
  const ScopedVariable run("XDG_RUNTIME_DIR", std::nullopt);
  const std::string folder = JoinPath(temporary, own);
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
  EXPECT_EQ(UserPatchFolder(), "");
  ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
  if (::chown(folder.c_str(), 4321, 4321) == 0) {
    EXPECT_EQ(UserPatchFolder(), "");
  }
  std::filesystem::remove(folder);
  std::filesystem::create_directory_symlink(runtime, folder);
  EXPECT_EQ(UserPatchFolder(), "");
}

// Only an existing folder takes files; permission bits stop an ordinary user, the immutable
// flag the administrator too.
TEST_F(UserFoldersPosix, WhoMayWriteInAFolder) {
  const ScopedVariable data("XDG_DATA_HOME", dir.File("data"));
  const std::string folder = UserPatchFolder();
  EXPECT_TRUE(CanCreateFilesIn(folder));
  EXPECT_FALSE(CanCreateFilesIn(dir.File("file")));
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  EXPECT_EQ(CanCreateFilesIn(folder), ::geteuid() == 0);
  const Immutable locked(folder);
  EXPECT_TRUE(locked.Unavailable() || !CanCreateFilesIn(folder));
}

}  // namespace
}  // namespace varnock::testing
