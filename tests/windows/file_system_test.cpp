// Files on a Windows file system: files other programs hold open, names that are no UTF-8.
// The portable file tests of tests/support run under Wine too.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/files.h"
#include "support/list_files.h"
#include "tests/common/temp_dir.h"
#include "tests/windows/win32_helpers.h"

namespace varnock {
namespace {

using testing::HeldFile;
using testing::ReadBytes;
using testing::SetAttributes;
using testing::TempDir;
using testing::ToBytes;

TEST(HeldFiles, FileHeldOpenIsNeitherRemovedNorCopiedOverNorReadWhenLocked) {
  TempDir dir;
  const std::string source = dir.WriteText("source.ptc", "new");
  const std::string held = dir.WriteText("held.ptc", "old");
  SetAttributes(held, FILE_ATTRIBUTE_READONLY);
  {
    // Another program has the file open and lets others read it, but not delete it.
    const HeldFile other(held, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(other.valid());
    EXPECT_FALSE(RemoveFile(held));
    CopyFileOver(source, held);
    EXPECT_EQ(ReadBytes(held), ToBytes("old"));
  }
  CopyFileOver(source, held);
  EXPECT_EQ(ReadBytes(held), ToBytes("new"));

  {
    const HeldFile locked(held, GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_TRUE(locked.valid());
    EXPECT_TRUE(FileExists(held));
    Bytes content;
    std::string error;
    EXPECT_FALSE(ReadWholeFile(held, content, error));
    EXPECT_TRUE(content.empty());
    EXPECT_FALSE(error.empty());
  }
  // Every mark a file can carry, the read-only one cleared first.
  SetAttributes(held, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  EXPECT_TRUE(RemoveFile(held));
  EXPECT_EQ(testing::AttributesOf(held), INVALID_FILE_ATTRIBUTES);
}

TEST(Names, TextThatIsNoUtf8NamesNoFileAndThrowsNothing) {
  // "\xC9diteur" is "Éditeur" in the ANSI code page, not in UTF-8.
  TempDir dir;
  const std::string bad = dir.File(
      "\xC9"
      "diteur.exe");
  EXPECT_FALSE(FileExists(bad));
  EXPECT_FALSE(FolderExists(bad));
  EXPECT_TRUE(ReadWholeFile(bad).empty());
  EXPECT_TRUE(RemoveFile(bad));
  CreateFolder(bad);
  CopyFileOver(bad, dir.File("copy.exe"));
  std::int32_t count = -1;
  EXPECT_TRUE(ListFiles(bad, "*", count).empty());
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(ListFiles(dir.path(), "\xC9*", count).empty());
  EXPECT_FALSE(FileExists(dir.File("copy.exe")));
}

}  // namespace
}  // namespace varnock
