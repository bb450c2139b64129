#include <windows.h>

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/safe_rewrite.h"
#include "tests/common/faulty_rewrite.h"
#include "tests/common/temp_dir.h"
#include "tests/support/folder_contents.h"

namespace varnock {
namespace {

using testing::Pattern;
using testing::ReadBytes;

// The hidden and system marks are kept; a file another program holds open without sharing is
// refused as in use and left as it was.
TEST(RewriteFileWindows, KeepsMarksAndRefusesAFileHeldWithoutSharing) {
  testing::TempDir dir;
  const std::string path = dir.Write("tomb4.exe", Pattern(100, 1));
  const std::wstring wide = ToFsPath(path).wstring();
  ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  std::string error;
  ASSERT_TRUE(RewriteFile(path, Pattern(100, 2), error)) << error;
  EXPECT_EQ(ReadBytes(path), Pattern(100, 2));
  const DWORD marks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(GetFileAttributesW(wide.c_str()) & marks, marks);

  const HANDLE held = CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  WriteFaults impatient;
  impatient.wait = std::chrono::milliseconds(50);
  EXPECT_FALSE(RewriteFileWith(impatient, path, Pattern(100, 3), error));
  EXPECT_NE(error.find("in use by another program"), std::string::npos) << error;
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(path), Pattern(100, 2));
  EXPECT_EQ(testing::NamesIn(dir), testing::Names{"tomb4.exe"});
}

}  // namespace
}  // namespace varnock
