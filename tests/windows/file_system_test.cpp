// Files and folders on a Windows file system: drive letters, attributes, letter case, files
// other programs hold open, names outside ASCII.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "support/platform.h"
#include "tests/common/temp_dir.h"
#include "tests/windows/win32_helpers.h"

namespace varnock {
namespace {

using testing::AttributesOf;
using testing::HeldFile;
using testing::ReadBytes;
using testing::SetAttributes;
using testing::TempDir;
using testing::ToBytes;
using Paths = std::vector<std::string>;

std::string SystemDrive() {
  wchar_t folder[MAX_PATH] = {};
  GetWindowsDirectoryW(folder, MAX_PATH);
  return testing::Narrow(std::wstring(folder, 2));  // "C:"
}

TEST(DrivePaths, RootWrittenAsLetterAndColon) {
  const std::string drive = SystemDrive();
  ASSERT_EQ(drive.size(), 2u);
  EXPECT_TRUE(FolderExists(drive + "\\"));
  EXPECT_FALSE(FileExists(drive + "\\"));
  const std::string windows = JoinPath(drive, "windows");
  EXPECT_EQ(windows, drive + "\\windows");
  EXPECT_TRUE(FolderExists(windows));
  EXPECT_TRUE(FolderExists(windows + "\\"));
  // A root given as "C:\" joins to a doubled separator, which the file system accepts.
  EXPECT_TRUE(FolderExists(JoinPath(drive + "\\", "windows")));
  std::int32_t count = 0;
  const Paths found = ListFiles(windows, "NOTEPAD.EXE", count);
  ASSERT_EQ(count, 1);
  EXPECT_TRUE(EqualsIgnoreCase(found[0], windows + "\\notepad.exe")) << found[0];
  EXPECT_TRUE(FileExists(found[0]));
  EXPECT_EQ(GetParentFolder(drive + "\\tomb4.exe"), drive);
  EXPECT_EQ(GetFileName(drive + "tomb4.exe"), "tomb4.exe");
  EXPECT_EQ(GetFileName(drive + "\\"), "");
}

TEST(DrivePaths, MissingDriveIsNoFolderAndListsNothing) {
  // Letters are taken from the end of the alphabet down until one names no drive.
  const DWORD drives = GetLogicalDrives();
  char letter = 'Y';
  while (letter > 'D' && (drives & (1u << (letter - 'A'))) != 0) {
    --letter;
  }
  ASSERT_EQ(drives & (1u << (letter - 'A')), 0u);
  const std::string root = std::string(1, letter) + ":";
  EXPECT_FALSE(FolderExists(root + "\\"));
  EXPECT_FALSE(FileExists(root + "\\tomb4.exe"));
  std::int32_t count = -1;
  EXPECT_TRUE(ListFiles(root, "*.ptc", count).empty());
  EXPECT_EQ(count, 0);
  Bytes content;
  std::string error;
  EXPECT_FALSE(ReadWholeFile(root + "\\tomb4.exe", content, error));
  EXPECT_FALSE(error.empty());
}

TEST(Attributes, HiddenSystemAndReadOnlyFilesAreSeenAndListed) {
  TempDir dir;
  const std::string hidden = dir.WriteText("hidden.ptc", "h");
  const std::string system = dir.WriteText("system.ptc", "s");
  const std::string readOnly = dir.WriteText("readonly.ptc", "r");
  SetAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(system, FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  SetAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
  CreateFolder(dir.File("folder.ptc"));
  SetAttributes(dir.File("folder.ptc"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
  for (const std::string& path : {hidden, system, readOnly}) {
    EXPECT_TRUE(FileExists(path)) << path;
    EXPECT_EQ(ReadWholeFile(path).size(), 1u) << path;
  }
  EXPECT_FALSE(FileExists(dir.File("folder.ptc")));
  std::int32_t count = 0;
  Paths found = ListFiles(dir.path(), "*.ptc", count);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Paths{hidden, readOnly, system}));
  EXPECT_EQ(count, 3);
}

TEST(Attributes, RemoveFileClearsTheReadOnlyMark) {
  TempDir dir;
  const std::string readOnly = dir.WriteText("a.ptc", "a");
  const std::string allMarks = dir.WriteText("b.ptc", "b");
  SetAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
  SetAttributes(allMarks, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_TRUE(RemoveFile(readOnly));
  EXPECT_TRUE(RemoveFile(allMarks));
  EXPECT_EQ(AttributesOf(readOnly), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(AttributesOf(allMarks), INVALID_FILE_ATTRIBUTES);
}

TEST(HeldFiles, FileHeldOpenIsNeitherRemovedNorCopiedOver) {
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
    EXPECT_TRUE(FileExists(held));
  }
  // Once the other program lets go, the copy goes through.
  CopyFileOver(source, held);
  EXPECT_EQ(ReadBytes(held), ToBytes("new"));
}

TEST(HeldFiles, FileLockedAgainstReadingReadsAsFailureWithAReason) {
  TempDir dir;
  const std::string path = dir.WriteText("tomb4.exe", "MZ");
  const HeldFile other(path, GENERIC_READ | GENERIC_WRITE, 0);
  ASSERT_TRUE(other.valid());
  EXPECT_TRUE(FileExists(path));
  Bytes content;
  std::string error;
  EXPECT_FALSE(ReadWholeFile(path, content, error));
  EXPECT_TRUE(content.empty());
  EXPECT_FALSE(error.empty());
}

TEST(LetterCase, NamesMatchWhateverTheirCase) {
  TempDir dir;
  const std::string path = dir.WriteText("Tomb4.exe", "MZ");
  EXPECT_TRUE(FileExists(dir.File("TOMB4.EXE")));
  EXPECT_EQ(ReadWholeFile(dir.File("tomb4.EXE")), ToBytes("MZ"));
  std::int32_t count = 0;
  // The listing gives the name as it is stored.
  EXPECT_EQ(ListFiles(dir.path(), "TOMB4*.EXE", count), Paths{path});
  EXPECT_TRUE(RemoveFile(dir.File("TOMB4.EXE")));
  EXPECT_FALSE(FileExists(path));
}

TEST(Names, NamesOutsideTheCodePageSurviveAsUtf8) {
  TempDir dir;
  // "Ωmega" and "tomb4 – copie": neither character exists in Windows-1252.
  const std::string greek = dir.File("\xCE\xA9mega.ptc");
  const std::string dash = dir.File("tomb4 \xE2\x80\x93 copie.ptc");
  for (const std::string& path : {greek, dash}) {
    const HANDLE file = CreateFileW(testing::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    CloseHandle(file);
    EXPECT_TRUE(FileExists(path)) << path;
  }
  std::int32_t count = 0;
  Paths found = ListFiles(dir.path(), "*.ptc", count);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Paths{dash, greek}));
  EXPECT_TRUE(RemoveFile(greek));
  EXPECT_FALSE(FileExists(greek));
}

TEST(OwnPlace, ExecutableAndCurrentFolderAreDrivePaths) {
  const std::string own = OwnExecutablePath();
  EXPECT_TRUE(FileExists(own)) << own;
  EXPECT_EQ(GetFileName(own), "varnock_windows_tests.exe");
  ASSERT_GE(own.size(), 3u);
  EXPECT_EQ(own.substr(1, 2), ":\\");
  const std::string current = CurrentFolder();
  ASSERT_GE(current.size(), 3u);
  EXPECT_EQ(current.substr(1, 2), ":\\");
  EXPECT_TRUE(FolderExists(current));
}

TEST(Names, TextThatIsNoUtf8NamesNoFileAndThrowsNothing) {
  // "\xC9diteur" is "Éditeur" in the ANSI code page, not in UTF-8: Windows cannot turn it into
  // a wide path.
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
