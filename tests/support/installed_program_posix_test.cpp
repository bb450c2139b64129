#include "support/installed_program.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"
#include "tests/support/scoped_variable.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::ScopedVariable;
using testing::TempDir;

constexpr const char* kRelative = "Core Design/trle/winroomedit.exe";
constexpr const char* kPlainKey =
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\winroomedit.exe] 1\n";
constexpr const char* kWow64Key =
    "[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\"
    "winroomedit.exe] 1\n";

// A Wine prefix made by the test: drive C is linked as Wine links it, the registry holds
// what the test writes.
class WinePrefix {
 public:
  WinePrefix() : variable_("WINEPREFIX", dir_.path()) {
    fs::create_directories(ToFsPath(dir_.File("drive_c")));
    fs::create_directories(ToFsPath(dir_.File("dosdevices")));
    fs::create_directory_symlink("../drive_c", ToFsPath(dir_.File("dosdevices/c:")));
  }
  void Registry(const std::string& text) const {
    dir_.WriteText("system.reg", "WINE REGISTRY Version 2\n#arch=win64\n\n" + text);
  }
  // Makes a file below drive_c; gives its native path.
  std::string Program(const std::string& below) const {
    dir_.WriteText("drive_c/" + below, "MZ");
    return FromFsPath(fs::canonical(ToFsPath(dir_.File("drive_c/" + below))));
  }
  std::string File(const std::string& name) const { return dir_.File(name); }

 private:
  TempDir dir_;
  ScopedVariable variable_;
};

std::string Canonical(const std::string& path) {
  std::error_code error;
  const fs::path canonical = fs::canonical(ToFsPath(path), error);
  return error ? path : FromFsPath(canonical);
}

TEST(InstalledProgram, FoundThroughAppPaths) {
  WinePrefix prefix;
  const std::string program = prefix.Program("Tools/trle/winroomedit.exe");
  prefix.Program("Program Files (x86)/Core Design/trle/winroomedit.exe");
  prefix.Registry(std::string(kPlainKey) + "@=\"C:\\\\Tools\\\\trle\\\\WINROOMEDIT.EXE\"\n");
  EXPECT_EQ(Canonical(FindInstalledProgram(kRelative)), program);
}

TEST(InstalledProgram, AppPathsValueNamingAFolder) {
  WinePrefix prefix;
  const std::string program = prefix.Program("Tools/trle/winroomedit.exe");
  prefix.Registry(std::string(kPlainKey) + "@=\"c:\\\\Tools\\\\trle\"\n");
  EXPECT_EQ(Canonical(FindInstalledProgram(kRelative)), program);
}

TEST(InstalledProgram, ThirtyTwoBitViewComesFirst) {
  WinePrefix prefix;
  const std::string program = prefix.Program("x86/winroomedit.exe");
  prefix.Program("x64/winroomedit.exe");
  prefix.Registry(std::string(kPlainKey) + "@=\"C:\\\\x64\\\\winroomedit.exe\"\n\n" + kWow64Key +
                  "@=\"C:\\\\x86\\\\winroomedit.exe\"\n");
  EXPECT_EQ(Canonical(FindInstalledProgram(kRelative)), program);
  EXPECT_EQ(ReadFirstRegistryValue(
                "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\winroomedit.exe"),
            "C:\\x86\\winroomedit.exe");
}

TEST(InstalledProgram, RegistryValueThatFailsStopsTheSearch) {
  WinePrefix prefix;
  prefix.Program("Program Files (x86)/Core Design/trle/winroomedit.exe");
  // The named file is missing: Program Files is not tried.
  prefix.Registry(std::string(kPlainKey) + "@=\"C:\\\\Gone\\\\winroomedit.exe\"\n");
  EXPECT_EQ(FindInstalledProgram(kRelative), "");
  // A value in quotes, or with arguments, is taken as it stands and names no file.
  prefix.Registry(std::string(kPlainKey) + "@=\"\\\"C:\\\\Program Files (x86)\\\\Core Design\\\\" +
                  "trle\\\\winroomedit.exe\\\"\"\n");
  EXPECT_EQ(FindInstalledProgram(kRelative), "");
  // A drive Wine has no link for.
  prefix.Program("Tools/winroomedit.exe");
  prefix.Registry(std::string(kPlainKey) + "@=\"D:\\\\Tools\\\\winroomedit.exe\"\n");
  EXPECT_EQ(FindInstalledProgram(kRelative), "");
}

TEST(InstalledProgram, FoundInProgramFiles) {
  WinePrefix prefix;
  prefix.Registry("");
  const std::string native = prefix.Program("Program Files/Core Design/trle/winroomedit.exe");
  EXPECT_EQ(Canonical(FindInstalledProgram(kRelative)), native);
  EXPECT_EQ(GetSpecialFolder(38), prefix.File("drive_c/Program Files"));

  // The 32-bit Program Files folder of a 64-bit prefix comes first.
  const std::string x86 = prefix.Program("Program Files (x86)/Core Design/trle/winroomedit.exe");
  EXPECT_EQ(Canonical(FindInstalledProgram(kRelative)), x86);
  EXPECT_EQ(GetSpecialFolder(38), prefix.File("drive_c/Program Files (x86)"));
  EXPECT_EQ(GetSpecialFolder(5), "");
}

TEST(InstalledProgram, LetterCaseIsIgnoredAsOnWindows) {
  WinePrefix prefix;
  prefix.Registry("");
  const std::string program = prefix.Program("Program Files/core design/TRLE/WinRoomEdit.exe");
  EXPECT_EQ(Canonical(FindInstalledProgram(kRelative)), program);
  prefix.Registry(std::string(kPlainKey) + "@=\"C:\\\\PROGRAM FILES\\\\Core Design\\\\trle\"\n");
  EXPECT_EQ(Canonical(FindInstalledProgram(kRelative)), program);
}

TEST(InstalledProgram, NotInstalled) {
  {
    WinePrefix prefix;
    prefix.Registry("");
    fs::create_directories(ToFsPath(prefix.File("drive_c/Program Files (x86)/Core Design/trle")));
    EXPECT_EQ(FindInstalledProgram(kRelative), "");
  }
  TempDir empty;
  {
    ScopedVariable variable("WINEPREFIX", empty.File("missing"));
    EXPECT_EQ(FindInstalledProgram(kRelative), "");
    EXPECT_EQ(GetSpecialFolder(38), "");
    EXPECT_EQ(ReadFirstRegistryValue("SOFTWARE\\Microsoft"), "");
  }
}

TEST(InstalledProgram, DefaultPrefixInTheHomeFolder) {
  TempDir home;
  ScopedVariable noPrefix("WINEPREFIX", std::nullopt);
  ScopedVariable homeVariable("HOME", home.path());
  home.WriteText(".wine/drive_c/Program Files/Core Design/trle/winroomedit.exe", "MZ");
  home.WriteText(".wine/system.reg", "WINE REGISTRY Version 2\n");
  EXPECT_EQ(FindInstalledProgram(kRelative),
            home.File(".wine/drive_c/Program Files/Core Design/trle/winroomedit.exe"));
}

}  // namespace
}  // namespace varnock
