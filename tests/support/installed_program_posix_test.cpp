#include <gtest/gtest.h>

#include <filesystem>

#include "support/installed_program_platform.h"
#include "tests/common/temp_dir.h"
#include "tests/support/scoped_variable.h"

namespace varnock::testing {
namespace {

// A path from the registry leads through the prefix's drive links, the file's letter case as it
// is on disk; only a letter and a colon name a drive, and a drive without a link leads nowhere.
TEST(RegistryPaths, LeadThroughThePrefixsDriveLinks) {
  TempDir prefix;
  const std::string exe =
      std::filesystem::canonical(prefix.WriteText("drive_c/Games/TOMB4.EXE", "MZ")).string();
  prefix.WriteText("elsewhere/file", "");
  std::filesystem::create_directories(prefix.File("dosdevices"));
  std::filesystem::create_directory_symlink("../drive_c", prefix.File("dosdevices/c:"));
  std::filesystem::create_directory_symlink("../elsewhere", prefix.File("dosdevices/1:"));
  const ScopedVariable wine("WINEPREFIX", prefix.path());
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\Games\\tomb4.exe", exe},
      {"c:\\\\Games\\TOMB4.EXE", exe},
      {"C:", std::filesystem::canonical(prefix.File("drive_c")).string()},
      {"1:\\file", ""},
      {"D:\\Games\\tomb4.exe", ""},
      {"C", ""},
      {"\\\\server\\share\\file", ""},
  };
  for (const auto& [windowsPath, native] : cases) {
    EXPECT_EQ(RegistryPathToNative(windowsPath), native) << windowsPath;
  }
}

}  // namespace
}  // namespace varnock::testing
