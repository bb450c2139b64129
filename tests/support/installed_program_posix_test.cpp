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

// A Wine prefix made by the test: drive C is linked as Wine links it, the registry holds what
// the test gives.
struct WinePrefix {
  explicit WinePrefix(const std::string& registry) {
    fs::create_directories(ToFsPath(dir.File("dosdevices")));
    fs::create_directory_symlink("../drive_c", ToFsPath(dir.File("dosdevices/c:")));
    dir.WriteText("system.reg", "WINE REGISTRY Version 2\n#arch=win64\n\n" + registry);
  }
  // Makes a file below drive_c; gives its native path.
  std::string Program(const std::string& below) const {
    dir.WriteText("drive_c/" + below, "MZ");
    return JoinPath(root, "drive_c/" + below);
  }

  TempDir dir;
  const std::string root = FromFsPath(fs::canonical(ToFsPath(dir.path())));
  ScopedVariable variable{"WINEPREFIX", root};
};

// The App Paths value (of the 32-bit view first) names the program or its folder, in any
// letter case; a value that names no file on a drive ends the search. Without one, the Program
// Files folders are searched, the 32-bit one first. `found` indexes `programs`, -1 for none.
TEST(InstalledProgram, FoundThroughAppPathsOrInProgramFiles) {
  const auto AppPath = [](const std::string& value) {
    return std::string(kPlainKey) + "@=\"" + value + "\"\n";
  };
  const std::string x86 = "Program Files (x86)/core design/TRLE/WinRoomEdit.exe";
  const struct {
    std::string registry;
    std::vector<std::string> programs;
    int found;
  } cases[] = {
      {AppPath("C:\\\\Tools\\\\WINROOMEDIT.EXE"), {"Tools/winroomedit.exe", x86}, 0},
      {AppPath("c:\\\\TOOLS\\\\Trle"), {"Tools/trle/winroomedit.exe"}, 0},
      {AppPath("C:\\\\x64\\\\winroomedit.exe") + kWow64Key + "@=\"C:\\\\x86\\\\winroomedit.exe\"\n",
       {"x86/winroomedit.exe", "x64/winroomedit.exe"},
       0},
      {AppPath("C:\\\\Gone\\\\winroomedit.exe"), {x86}, -1},
      {"", {x86, "Program Files/Core Design/trle/winroomedit.exe"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.registry);
    const WinePrefix prefix(c.registry);
    std::vector<std::string> natives;
    for (const std::string& program : c.programs) {
      natives.push_back(prefix.Program(program));
    }
    EXPECT_EQ(FindInstalledProgram(kRelative),
              c.found < 0 ? "" : natives[static_cast<std::size_t>(c.found)]);
  }
}

}  // namespace
}  // namespace varnock
