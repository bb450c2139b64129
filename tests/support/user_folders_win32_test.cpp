#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "support/user_folders.h"
#include "support/user_folders_platform.h"
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
  EXPECT_TRUE(ListFiles(dir.path(), "*").empty());
}

// The fallback in the temporary folder: a folder made for the user alone, taken again later;
// one made there beforehand with the access of the folder above is refused.
TEST(UserFoldersWin32, TheFallbackIsAFolderForTheUserAlone) {
  EXPECT_EQ(ScratchFolders().size(), 1U);
  TempDir dir;
  const std::string own = dir.File(PrivateFolderName());
  EXPECT_TRUE(MakePrivateFolder(own));
  EXPECT_TRUE(MakePrivateFolder(own));
  const std::string open = dir.File("open");
  ASSERT_TRUE(CreateDirectoryW(ToFsPath(open).c_str(), nullptr));
  EXPECT_FALSE(MakePrivateFolder(open));
}

}  // namespace
}  // namespace varnock::testing
