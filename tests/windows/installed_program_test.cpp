// The installed room editor is found through Wine's real registry and Program Files folders,
// where a 32-bit installer puts them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "support/files.h"
#include "support/installed_program.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"
#include "tests/windows/win32_helpers.h"

namespace varnock {
namespace {

using testing::HeldFile;
using testing::ScopedRegistryKey;
using testing::TempDir;
using testing::UniqueName;

constexpr int kProgramFiles = 38;
constexpr int kProgramFilesX86 = 42;
const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// A program below a Program Files folder, removed with its folders when the object goes.
class InstalledFile {
 public:
  InstalledFile(const std::string& programFiles, const std::string& relativePath)
      : top_(JoinPath(programFiles, relativePath.substr(0, relativePath.find('\\')))),
        path_(JoinPath(programFiles, relativePath)) {
    std::filesystem::create_directories(ToFsPath(GetParentFolder(path_)));
    testing::WriteText(path_, "MZ");
  }
  ~InstalledFile() {
    std::error_code error;
    std::filesystem::remove_all(ToFsPath(top_), error);
  }
  InstalledFile(const InstalledFile&) = delete;
  InstalledFile& operator=(const InstalledFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string top_;
  std::string path_;
};

class InstalledProgramTest : public ::testing::Test {
 protected:
  // A program name of this test alone, so that tests running side by side never meet.
  const std::string name_ = UniqueName("varnock-room-editor") + ".exe";
  const std::string relative_ = UniqueName("Varnock Test Design") + "\\trle\\" + name_;
  TempDir dir_;
};

TEST_F(InstalledProgramTest, ProgramFilesFoldersAreTheSystemOnes) {
  EXPECT_TRUE(EqualsIgnoreCase(GetSpecialFolder(kProgramFiles), Environment("ProgramFiles")));
  EXPECT_TRUE(
      EqualsIgnoreCase(GetSpecialFolder(kProgramFilesX86), Environment("ProgramFiles(x86)")));
  EXPECT_TRUE(FolderExists(GetSpecialFolder(kProgramFiles)));
  // A drive-letter path without a trailing separator, as folders are passed around.
  const std::string folder = GetSpecialFolder(kProgramFiles);
  ASSERT_GE(folder.size(), 3u);
  EXPECT_EQ(folder.substr(1, 2), ":\\");
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(GetSpecialFolder(-5), "");
}

TEST_F(InstalledProgramTest, AppPathsValueIsRead) {
  const std::string exe = dir_.WriteText(name_, "MZ");
  ScopedRegistryKey key(kAppPaths + name_, KEY_WOW64_32KEY);
  key.SetString("", exe);
  EXPECT_EQ(ReadFirstRegistryValue(kAppPaths + name_), exe);
  EXPECT_EQ(FindInstalledProgram(relative_), exe);
}

TEST_F(InstalledProgramTest, AppPathsAreTheSameForBothRegistryViews) {
  // App Paths is one of the keys 32-bit and 64-bit programs share: whichever kind of
  // installer wrote the value, the program reads it.
  const std::string exe = dir_.WriteText(name_, "MZ");
  for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    {
      ScopedRegistryKey key(kAppPaths + name_, view);
      key.SetString("", exe);
      EXPECT_EQ(ReadFirstRegistryValue(kAppPaths + name_), exe) << view;
      EXPECT_EQ(FindInstalledProgram(relative_), exe) << view;
    }
    EXPECT_EQ(ReadFirstRegistryValue(kAppPaths + name_), "") << view;
  }
}

TEST_F(InstalledProgramTest, ValueNamingAFolderIsSearchedForTheProgram) {
  const std::string exe = dir_.WriteText("Editor\\" + name_, "MZ");
  ScopedRegistryKey key(kAppPaths + name_, KEY_WOW64_32KEY);
  key.SetString("", GetParentFolder(exe));
  EXPECT_EQ(FindInstalledProgram(relative_), exe);
  // With a trailing separator the joined path holds a doubled one, which Windows accepts.
  key.SetString("", GetParentFolder(exe) + "\\");
  const std::string found = FindInstalledProgram(relative_);
  EXPECT_TRUE(FileExists(found)) << found;
  EXPECT_EQ(GetFileName(found), name_);
}

TEST_F(InstalledProgramTest, ValueWithAnUpperCaseExtensionNamesTheProgram) {
  const std::string exe = dir_.WriteText("WINROOMEDIT.EXE", "MZ");
  ScopedRegistryKey key(kAppPaths + name_, KEY_WOW64_32KEY);
  key.SetString("", exe);
  EXPECT_EQ(FindInstalledProgram(relative_), exe);
}

TEST_F(InstalledProgramTest, MissingFileOfTheValueDoesNotFallBackToProgramFiles) {
  const InstalledFile installed(GetSpecialFolder(kProgramFilesX86), relative_);
  ASSERT_EQ(FindInstalledProgram(relative_), installed.path());
  ScopedRegistryKey key(kAppPaths + name_, KEY_WOW64_32KEY);
  key.SetString("", dir_.File(name_));
  EXPECT_EQ(FindInstalledProgram(relative_), "");
  // A quoted value, or one with arguments after the path, names no file either.
  key.SetString("", "\"" + installed.path() + "\"");
  EXPECT_EQ(FindInstalledProgram(relative_), "");
  key.SetString("", installed.path() + " /safe");
  EXPECT_EQ(FindInstalledProgram(relative_), "");
}

TEST_F(InstalledProgramTest, WithoutAValueTheProgramFilesFoldersAreTried) {
  EXPECT_EQ(FindInstalledProgram(relative_), "");
  {
    // Where the 32-bit installer of the room editor puts it on a 64-bit system.
    const InstalledFile installed(GetSpecialFolder(kProgramFilesX86), relative_);
    EXPECT_EQ(FindInstalledProgram(relative_), installed.path());
  }
  {
    const InstalledFile installed(GetSpecialFolder(kProgramFiles), relative_);
    EXPECT_EQ(FindInstalledProgram(relative_), installed.path());
    const InstalledFile preferred(GetSpecialFolder(kProgramFilesX86), relative_);
    EXPECT_EQ(FindInstalledProgram(relative_), preferred.path());
  }
}

TEST_F(InstalledProgramTest, ValueOutsideAsciiComesThroughTheCodePage) {
  if (GetACP() != 1252) {
    GTEST_SKIP() << "the system code page is " << GetACP() << ", not 1252";
  }
  const std::string exe = dir_.WriteText(
      "\xC3\x89"
      "diteur\\" +
          name_,
      "MZ");  // "Éditeur"
  ScopedRegistryKey key(kAppPaths + name_, KEY_WOW64_32KEY);
  key.SetString("", exe);
  EXPECT_EQ(ReadFirstRegistryValue(kAppPaths + name_), exe);
  EXPECT_EQ(FindInstalledProgram(relative_), exe);
}

TEST_F(InstalledProgramTest, FirstValueIsReadWhateverItsName) {
  ScopedRegistryKey key(kAppPaths + name_, KEY_WOW64_32KEY);
  key.SetString("Path", "C:\\Editor");
  EXPECT_EQ(ReadFirstRegistryValue(kAppPaths + name_), "C:\\Editor");
}

TEST_F(InstalledProgramTest, ValueLongerThanTheDataAreaGivesNothing) {
  ScopedRegistryKey key(kAppPaths + name_, KEY_WOW64_32KEY);
  key.SetString("", "C:\\" + std::string(255, 'x'));
  EXPECT_EQ(ReadFirstRegistryValue(kAppPaths + name_), "");
  key.SetString("", "C:\\" + std::string(250, 'x'));
  EXPECT_EQ(ReadFirstRegistryValue(kAppPaths + name_), "C:\\" + std::string(250, 'x'));
}

TEST_F(InstalledProgramTest, MissingKeyGivesNothing) {
  EXPECT_EQ(ReadFirstRegistryValue(kAppPaths + name_), "");
}

}  // namespace
}  // namespace varnock
