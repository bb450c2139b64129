#include "picker/drives.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "picker/mount_points.h"
#include "support/files.h"

namespace varnock::testing {
namespace {

// The drive list is the machine's own mount table: every mount point a user would call a
// drive, after the root.
TEST(Drives, ComeFromTheMachinesMountTable) {
  std::ifstream in("/proc/self/mounts");
  ASSERT_TRUE(in);
  const std::string table{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(table.empty());
  std::vector<std::string> expected;
  for (const std::string& point : ParseMountPoints(table)) {
    if (FolderExists(point)) {
      expected.push_back(point);
    }
  }
  EXPECT_EQ(ListDrives(), expected);
}

}  // namespace
}  // namespace varnock::testing
