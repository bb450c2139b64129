#include "support/user_folders.h"

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/list_files.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {
namespace {

TEST(UserFolders, FilesCanBeCreatedOnlyInAnExistingFolderAndNoProbeStays) {
  TempDir dir;
  EXPECT_TRUE(CanCreateFilesIn(dir.path()));
  EXPECT_FALSE(CanCreateFilesIn(dir.File("missing")));
  EXPECT_FALSE(CanCreateFilesIn(dir.WriteText("file", "x")));
  std::int32_t count = 0;
  ListFiles(dir.path(), "*", count);
  EXPECT_EQ(count, 1);
}

}  // namespace
}  // namespace varnock::testing
