#include "support/read_to_end.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

using testing::TempDir;

TEST(ReadToEnd, ReadsFilesWholeAndTellsWhyItCannot) {
  TempDir dir;
  Bytes content{1};
  std::string error;
  EXPECT_TRUE(ReadToEnd(dir.Write("empty.bin", {}), content, error));
  EXPECT_TRUE(content.empty());
  EXPECT_EQ(error, "");
  const Bytes binary{0, 26, 13, 10, 255, 0};
  EXPECT_TRUE(ReadToEnd(dir.Write("binary.bin", binary), content, error));
  EXPECT_EQ(content, binary);

  EXPECT_FALSE(ReadToEnd(dir.File("missing.bin"), content, error));
  EXPECT_TRUE(content.empty());
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ReadToEnd(dir.path(), content, error));
}

#ifdef __linux__
// The mount table reports a size of 0 and still holds a line for the root.
TEST(ReadToEnd, ReadsTheMachinesMountTable) {
  Bytes content;
  std::string error;
  ASSERT_TRUE(ReadToEnd("/proc/self/mounts", content, error)) << error;
  EXPECT_EQ(std::filesystem::file_size("/proc/self/mounts"), 0u);
  const std::string table(content.begin(), content.end());
  EXPECT_NE(table.find(" / "), std::string::npos) << table;
}
#endif

}  // namespace
}  // namespace varnock
