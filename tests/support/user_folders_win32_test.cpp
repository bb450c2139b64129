#include <gtest/gtest.h>

#include <cstdlib>

#include "support/files.h"
#include "support/paths.h"
#include "support/user_folders.h"

namespace varnock::testing {
namespace {

TEST(UserFoldersWin32, ThePatchesGoBelowTheUsersLocalApplicationData) {
  const char* local = std::getenv("LOCALAPPDATA");
  ASSERT_NE(local, nullptr);
  const std::string folder = UserPatchFolder();
  EXPECT_TRUE(EqualsIgnoreCase(folder, std::string(local) + "\\Varnock\\patches")) << folder;
  EXPECT_TRUE(CanCreateFilesIn(folder));
}

}  // namespace
}  // namespace varnock::testing
