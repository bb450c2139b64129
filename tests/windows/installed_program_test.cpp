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

using testing::ScopedRegistryKey;

constexpr int kProgramFiles = 38;
constexpr int kProgramFilesX86 = 42;
constexpr REGSAM k32 = KEY_WOW64_32KEY;
const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// A program below a Program Files folder, removed with its folders when the object goes.
class InstalledFile {
 public:
  InstalledFile(const std::string& programFiles, const std::string& relativePath)
      : top_(JoinPath(programFiles, relativePath.substr(0, relativePath.find('\\')))),
        path_(JoinPath(programFiles, relativePath)) {
    std::filesystem::create_directories(ToFsPath(GetParentFolder(path_)));
    CloseHandle(CreateFileW(testing::Wide(path_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
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
  // Names of this test program alone, so that tests running side by side never meet.
  const std::string id_ = std::to_string(GetCurrentProcessId());
  const std::string name_ = "varnock-room-editor-" + id_ + ".exe";
  const std::string relative_ = "Varnock Test Design " + id_ + "\\trle\\" + name_;
  const std::string key_ = kAppPaths + name_;
  testing::TempDir dir_;
};

TEST_F(InstalledProgramTest, TheAppPathsValueNamesTheProgramOrItsFolderAndNothingElse) {
  const std::string exe = dir_.WriteText("Editor\\" + name_, "MZ");
  const std::string upper = dir_.WriteText("WINROOMEDIT.EXE", "MZ");
  const std::string accented = dir_.WriteText(
      "\xC3\x89"
      "diteur\\" +
          name_,
      "MZ");  // "Éditeur"
  const InstalledFile installed(GetSpecialFolder(kProgramFilesX86), relative_);
  const struct {
    std::string value;
    REGSAM view;
    std::string found;
  } cases[] = {
      {exe, k32, exe},
      {exe, KEY_WOW64_64KEY, exe},  // a key both registry views share
      {GetParentFolder(exe), k32, exe},
      {upper, k32, upper},
      {GetACP() == 1252 ? accented : exe, k32, GetACP() == 1252 ? accented : exe},
      // A value naming no file does not fall back to Program Files; neither does a quoted
      // one, nor one with arguments after the path.
      {dir_.File(name_), k32, ""},
      {"\"" + installed.path() + "\"", k32, ""},
      {installed.path() + " /safe", k32, ""},
  };
  for (const auto& item : cases) {
    SCOPED_TRACE(item.value);
    const ScopedRegistryKey key(key_, item.view, "", item.value);
    EXPECT_EQ(ReadFirstRegistryValue(key_), item.value);
    EXPECT_EQ(FindInstalledProgram(relative_), item.found);
  }
  EXPECT_EQ(ReadFirstRegistryValue(key_), "");
  EXPECT_EQ(FindInstalledProgram(relative_), installed.path());
}

TEST_F(InstalledProgramTest, TheFirstValueIsReadWhateverItsNameUpToTheDataArea) {
  const struct {
    std::string name;
    std::string data;
    std::string read;
  } cases[] = {{"Path", "C:\\Editor", "C:\\Editor"},
               {"", "C:\\" + std::string(250, 'x'), "C:\\" + std::string(250, 'x')},
               {"", "C:\\" + std::string(255, 'x'), ""}};
  for (const auto& item : cases) {
    const ScopedRegistryKey key(key_, k32, item.name, item.data);
    EXPECT_EQ(ReadFirstRegistryValue(key_), item.read) << item.name << item.data.size();
  }
}

TEST_F(InstalledProgramTest, WithoutAValueTheProgramFilesFoldersAreTriedThe32BitOneFirst) {
  const std::string programFiles = GetSpecialFolder(kProgramFiles);
  EXPECT_TRUE(EqualsIgnoreCase(programFiles, std::getenv("ProgramFiles")));
  EXPECT_TRUE(
      EqualsIgnoreCase(GetSpecialFolder(kProgramFilesX86), std::getenv("ProgramFiles(x86)")));
  EXPECT_NE(programFiles.back(), '\\');
  EXPECT_EQ(GetSpecialFolder(-5), "");
  EXPECT_EQ(FindInstalledProgram(relative_), "");
  const InstalledFile plain(programFiles, relative_);
  EXPECT_EQ(FindInstalledProgram(relative_), plain.path());
  const InstalledFile preferred(GetSpecialFolder(kProgramFilesX86), relative_);
  EXPECT_EQ(FindInstalledProgram(relative_), preferred.path());
}

}  // namespace
}  // namespace varnock
