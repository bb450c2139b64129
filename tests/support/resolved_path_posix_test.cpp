#include "support/resolved_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;

// real/sub holds the folder the link L leads to: L/.. is real, not the folder that holds L.
TEST(ResolvedPath, DotDotLeavesTheFolderALinkLeadsTo) {
  const testing::TempDir dir;
  fs::create_directories(dir.File("real/sub"));
  fs::create_directory_symlink(dir.File("real/sub"), dir.File("L"));
  const std::string real = fs::canonical(dir.path()).string() + "/real";
  const std::pair<std::string, std::string> kCases[] = {
      {dir.File("L/../"), real},
      {dir.File("L/./../sub/./L2/x"), real + "/sub/L2/x"},
      {dir.File("real//sub/./x"), dir.File("real/sub/x")},  // no "..": text only, link kept
      {dir.File("gone/../x"), dir.File("gone/../x")},       // left for the open to report
      {"/", "/"},
  };
  for (const auto& [given, resolved] : kCases) {
    EXPECT_EQ(ResolvedPath(given), resolved) << given;
  }
  EXPECT_EQ(ResolvedPath("x"), fs::current_path().string() + "/x");
}

}  // namespace
}  // namespace varnock
