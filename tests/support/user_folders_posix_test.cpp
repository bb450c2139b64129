#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>

#include "support/files.h"
#include "support/paths.h"
#include "support/user_folders.h"
#include "tests/common/immutable_flag.h"
#include "tests/common/temp_dir.h"
#include "tests/support/scoped_variable.h"

namespace varnock::testing {
namespace {

TEST(UserFoldersPosix, TheDataHomeDecidesAndARelativeOneIsIgnored) {
  TempDir dir;
  const ScopedVariable home("HOME", dir.File("home"));
  struct Case {
    std::optional<std::string> dataHome;
    std::string expected;
  };
  const Case cases[] = {
      {dir.File("data"), JoinPath(dir.File("data"), "varnock/patches")},
      {"relative/data", JoinPath(dir.File("home"), ".local/share/varnock/patches")},
      {std::nullopt, JoinPath(dir.File("home"), ".local/share/varnock/patches")},
  };
  for (const Case& c : cases) {
    const ScopedVariable data("XDG_DATA_HOME", c.dataHome);
    EXPECT_EQ(UserPatchFolder(), c.expected) << c.dataHome.value_or("unset");
    EXPECT_TRUE(FolderExists(c.expected));
  }
  // A data home that cannot be made gives no folder.
  const ScopedVariable data("XDG_DATA_HOME", JoinPath(dir.WriteText("file", "x"), "data"));
  EXPECT_EQ(UserPatchFolder(), "");
}

TEST(UserFoldersPosix, AFolderNobodyMayChangeTakesNoFile) {
  TempDir dir;
  const std::string folder = dir.File("locked");
  CreateFolder(folder);
  // Permission bits stop an ordinary user; the immutable flag stops the administrator too.
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  if (::geteuid() != 0) {
    EXPECT_FALSE(CanCreateFilesIn(folder));
  }
  const Immutable locked(folder);
  if (!locked.Unavailable()) {
    EXPECT_FALSE(CanCreateFilesIn(folder));
  }
  ::chmod(folder.c_str(), 0755);
}

}  // namespace
}  // namespace varnock::testing
