// Files and folders on a Windows file system: drive letters, attributes, letter case, files
// other programs hold open, names that are no UTF-8. The portable file tests of
// tests/support run here too.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"
#include "tests/windows/win32_helpers.h"

namespace varnock {
namespace {

using testing::HeldFile;
using testing::ReadBytes;
using testing::SetAttributes;
using testing::TempDir;
using testing::ToBytes;
using Paths = std::vector<std::string>;

TEST(DrivePaths, RootsAreLetterAndColonAndAMissingDriveHoldsNothing) {
  wchar_t windowsFolder[MAX_PATH] = {};
  GetWindowsDirectoryW(windowsFolder, MAX_PATH);
  const std::string drive = FromFsPath(std::wstring(windowsFolder, 2));  // "C:"
  EXPECT_TRUE(FolderExists(drive + "\\"));
  EXPECT_FALSE(FileExists(drive + "\\"));
  const std::string windows = JoinPath(drive, "windows");
  EXPECT_EQ(windows, drive + "\\windows");
  EXPECT_TRUE(FolderExists(JoinPath(drive + "\\", "windows")));
  std::int32_t count = 0;
  const Paths found = ListFiles(windows, "NOTEPAD.EXE", count);
  ASSERT_EQ(count, 1);
  EXPECT_TRUE(EqualsIgnoreCase(found[0], windows + "\\notepad.exe")) << found[0];
  EXPECT_EQ(GetParentFolder(drive + "\\tomb4.exe"), drive);

  // Letters are taken from the end of the alphabet down until one names no drive.
  char letter = 'Y';
  while (letter > 'D' && (GetLogicalDrives() & (1u << (letter - 'A'))) != 0) {
    --letter;
  }
  const std::string missing = std::string(1, letter) + ":";
  EXPECT_FALSE(FolderExists(missing + "\\"));
  count = -1;
  EXPECT_TRUE(ListFiles(missing, "*.ptc", count).empty());
  EXPECT_EQ(count, 0);
  Bytes content;
  std::string error;
  EXPECT_FALSE(ReadWholeFile(missing + "\\tomb4.exe", content, error));
  EXPECT_FALSE(error.empty());
}

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
  const std::string bad = dir.File("\xC9" "diteur.exe");
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
