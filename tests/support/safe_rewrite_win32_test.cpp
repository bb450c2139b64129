#include <windows.h>

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/safe_rewrite.h"
#include "tests/common/temp_dir.h"
#include "tests/support/folder_contents.h"

namespace varnock {
namespace {

using testing::Pattern;
using testing::ReadBytes;

// A file another program holds open without sharing is refused as in use and left as it was.
TEST(RewriteFileWindows, RefusesAFileHeldWithoutSharing) {
  testing::TempDir dir;
  const std::string path = dir.Write("tomb4.exe", Pattern(100, 1));
  const HANDLE held = CreateFileW(ToFsPath(path).wstring().c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  RewriteHooks impatient;
  impatient.wait = std::chrono::milliseconds(50);
  std::string error;
  EXPECT_FALSE(RewriteFile(path, Pattern(100, 2), error, &impatient));
  EXPECT_NE(error.find("in use by another program"), std::string::npos) << error;
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(path), Pattern(100, 1));
  EXPECT_TRUE(testing::Leftovers(dir, {"tomb4.exe"}).empty());
}

}  // namespace
}  // namespace varnock
