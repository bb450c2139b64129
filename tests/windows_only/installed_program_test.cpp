// The installed room editor is found through Wine's real registry and Program Files folders,
// where a 32-bit installer puts them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/installed_program.h"
#include "support/installed_program_platform.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"
#include "tests/windows_only/win32_helpers.h"

namespace varnock {
namespace {

using testing::ScopedRegistryKey;

// Names of this test program alone, so that tests running side by side never meet.
const std::string kId = std::to_string(GetCurrentProcessId());
const std::string kName = "varnock-room-editor-" + kId + ".exe";
const std::string kRelative = "Varnock Test Design " + kId + "\\trle\\" + kName;
const std::string kKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + kName;

// The first value of the App Paths key, whatever its name, in the view both 32-bit and 64-bit
// programs share, read through the ANSI code page and only as long as its data area.
TEST(InstalledProgram, TheAppPathsValueNamesTheProgram) {
  testing::TempDir dir;
  const std::string exe = dir.WriteText("Editor\\" + kName, "MZ");
  // A name outside ASCII that the ANSI code page can spell, where it is Western European.
  const std::string accented =
      GetACP() == 1252 ? dir.WriteText("\u00C9diteur\\" + kName, "MZ") : exe;
  const std::string longest = "C:\\" + std::string(250, 'x');
  const struct {
    std::string name;
    std::string value;
    REGSAM view;
    std::string read;
  } cases[] = {{"", exe, KEY_WOW64_32KEY, exe},
               {"Path", exe, KEY_WOW64_64KEY, exe},
               {"", accented, KEY_WOW64_32KEY, accented},
               {"", longest, KEY_WOW64_32KEY, longest},
               {"", longest + "xxxxx", KEY_WOW64_32KEY, ""}};
  for (const auto& item : cases) {
    SCOPED_TRACE(item.value);
    const ScopedRegistryKey key(kKey, item.view, item.name, item.value);
    EXPECT_EQ(ReadFirstRegistryValue(kKey), item.read);
    EXPECT_EQ(FindInstalledProgram(kRelative), FileExists(item.read) ? item.read : "");
  }
  EXPECT_EQ(ReadFirstRegistryValue(kKey), "");
}

// Without a value the program is looked for below Program Files, where a 32-bit installer put
// it first.
TEST(InstalledProgram, TheProgramFilesFoldersAreTheSystemsThe32BitOneFirst) {
  const std::vector<std::string> folders = ProgramFilesFolders();
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_TRUE(EqualsIgnoreCase(folders[0], std::getenv("ProgramFiles(x86)"))) << folders[0];
  EXPECT_TRUE(EqualsIgnoreCase(folders[1], std::getenv("ProgramFiles"))) << folders[1];
  EXPECT_EQ(GetSpecialFolder(-5), "");
}

}  // namespace
}  // namespace varnock
