#include <gtest/gtest.h>

#include <cstdlib>

#include "support/list_files.h"
#include "support/paths.h"
#include "support/user_folders.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {
namespace {

// Whether files can be made is asked with a probe file that does not stay.
TEST(UserFoldersWin32, ThePatchesGoBelowTheUsersLocalApplicationData) {
  ASSERT_NE(std::getenv("LOCALAPPDATA"), nullptr);
  const std::string folder = UserPatchFolder();
  EXPECT_TRUE(
      EqualsIgnoreCase(folder, std::string(std::getenv("LOCALAPPDATA")) + "\\Varnock\\patches"))
      << folder;
  EXPECT_TRUE(CanCreateFilesIn(folder));
  TempDir dir;
  EXPECT_TRUE(CanCreateFilesIn(dir.path()));
  std::int32_t count = 0;
  EXPECT_TRUE(ListFiles(dir.path(), "*", count).empty());
}

}  // namespace
}  // namespace varnock::testing
