#include <gtest/gtest.h>

#include <cstdlib>

#include "support/paths.h"
#include "support/user_folders.h"

namespace varnock::testing {
namespace {

TEST(UserFoldersWin32, ThePatchesGoBelowTheUsersLocalApplicationData) {
  ASSERT_NE(std::getenv("LOCALAPPDATA"), nullptr);
  const std::string folder = UserPatchFolder();
  EXPECT_TRUE(
      EqualsIgnoreCase(folder, std::string(std::getenv("LOCALAPPDATA")) + "\\Varnock\\patches"))
      << folder;
  EXPECT_TRUE(CanCreateFilesIn(folder));
}

}  // namespace
}  // namespace varnock::testing
