#include "support/read_to_end.h"

#include <gtest/gtest.h>

#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

TEST(ReadToEnd, ReadsFilesWholeAndTellsWhyItCannot) {
  testing::TempDir dir;
  Bytes content{1};
  std::string error;
  EXPECT_FALSE(ReadToEnd(dir.path(), content, error));
  EXPECT_TRUE(content.empty());
  EXPECT_FALSE(error.empty());
#ifdef __linux__
  // The mount table reports a size of 0 and still holds a line for the root.
  ASSERT_TRUE(ReadToEnd("/proc/self/mounts", content, error)) << error;
  EXPECT_NE(std::string(content.begin(), content.end()).find(" / "), std::string::npos);
#endif
}

}  // namespace
}  // namespace varnock
