#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/paths.h"
#include "support/user_folders.h"
#include "tests/common/immutable_flag.h"
#include "tests/common/temp_dir.h"
#include "tests/support/scoped_variable.h"

namespace varnock::testing {
namespace {

// The data home decides, a relative one is ignored, and one that cannot be made gives none.
TEST(UserFoldersPosix, ThePatchFolderAndWhoMayWriteInIt) {
  TempDir dir;
  const ScopedVariable home("HOME", dir.File("home"));
  const std::string inHome = JoinPath(dir.File("home"), ".local/share/varnock/patches");
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {dir.File("data"), JoinPath(dir.File("data"), "varnock/patches")},
      {"relative/data", inHome},
      {std::nullopt, inHome},
      {JoinPath(dir.WriteText("file", "x"), "data"), ""},
  };
  for (const auto& [dataHome, expected] : cases) {
    const ScopedVariable data("XDG_DATA_HOME", dataHome);
    EXPECT_EQ(UserPatchFolder(), expected) << dataHome.value_or("unset");
    EXPECT_EQ(FolderExists(expected), !expected.empty());
  }
  // Only an existing folder takes files; permission bits stop an ordinary user, the immutable
  // flag the administrator too.
  EXPECT_TRUE(CanCreateFilesIn(inHome));
  EXPECT_FALSE(CanCreateFilesIn(dir.File("file")));
  ASSERT_EQ(::chmod(inHome.c_str(), 0555), 0);
  EXPECT_EQ(CanCreateFilesIn(inHome), ::geteuid() == 0);
  const Immutable locked(inHome);
  EXPECT_TRUE(locked.Unavailable() || !CanCreateFilesIn(inHome));
}

}  // namespace
}  // namespace varnock::testing
