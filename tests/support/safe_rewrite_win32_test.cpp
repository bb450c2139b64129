#include <windows.h>

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/safe_rewrite.h"
#include "tests/common/temp_dir.h"
#include "tests/support/folder_contents.h"

namespace varnock {
namespace {

using testing::Leftovers;
using testing::Pattern;
using testing::ReadBytes;
using testing::TempDir;

DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesW(ToFsPath(path).wstring().c_str());
}

TEST(RewriteFileWindows, KeepsHiddenAndSystemMarks) {
  TempDir dir;
  const std::string path = dir.Write("tomb4.exe", Pattern(100, 1));
  ASSERT_TRUE(SetFileAttributesW(ToFsPath(path).wstring().c_str(),
                                 FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  std::string error;
  ASSERT_TRUE(RewriteFile(path, Pattern(100, 2), error)) << error;
  EXPECT_EQ(ReadBytes(path), Pattern(100, 2));
  const DWORD attributes = AttributesOf(path);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_SYSTEM, 0u);
  EXPECT_TRUE(Leftovers(dir, {"tomb4.exe"}).empty());
}

TEST(RewriteFileWindows, FileHeldOpenWithoutSharingIsRefused) {
  TempDir dir;
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
  EXPECT_TRUE(Leftovers(dir, {"tomb4.exe"}).empty());
}

}  // namespace
}  // namespace varnock
