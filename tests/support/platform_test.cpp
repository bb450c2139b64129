#include "support/platform.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"
#include "support/paths.h"

namespace varnock {
namespace {

TEST(Platform, OwnExecutableAndCurrentFolder) {
  EXPECT_EQ(GetBaseName(OwnExecutablePath()), "varnock_support_tests");
  EXPECT_TRUE(FileExists(OwnExecutablePath()));
  EXPECT_EQ(ToFsPath(CurrentFolder()), std::filesystem::current_path());
}

}  // namespace
}  // namespace varnock
