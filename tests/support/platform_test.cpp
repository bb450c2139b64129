#include "support/platform.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include "support/files.h"
#include "support/paths.h"

namespace varnock {
namespace {

TEST(Platform, OwnExecutablePathNamesThisProgram) {
  const std::string path = OwnExecutablePath();
  EXPECT_TRUE(FileExists(path)) << path;
  EXPECT_EQ(GetBaseName(path), "varnock_support_tests");
}

TEST(Platform, CurrentFolder) {
  const std::string folder = CurrentFolder();
  EXPECT_TRUE(FolderExists(folder));
  EXPECT_EQ(ToFsPath(folder), std::filesystem::current_path());
}

TEST(Platform, DecimalSeparatorIsOneOfTheUsualOnes) {
  const char separator = LocaleDecimalSeparator();
  EXPECT_TRUE(separator == '.' || separator == ',') << separator;
}

}  // namespace
}  // namespace varnock
