#include <gtest/gtest.h>

#include "app/trim_root_backslash.h"
#include "app/version_rank.h"

namespace varnock {
namespace {

// A Windows drive root loses its backslash only (every ":\" of a short path goes); the POSIX
// root becomes empty so that joining gives one slash.
TEST(TrimRootBackslash, RootsLoseTheirSeparatorOnly) {
  struct Case {
    PathStyle style;
    const char* path;
    const char* trimmed;
  };
  for (const Case& c :
       {Case{PathStyle::Windows, "C:\\", "C:"}, Case{PathStyle::Windows, "C:", "C:"},
        Case{PathStyle::Windows, "C:\\a", "C:\\a"}, Case{PathStyle::Windows, ":\\:", "::"},
        Case{PathStyle::Windows, "", ""}, Case{PathStyle::Posix, "/", ""},
        Case{PathStyle::Posix, "/a", "/a"}}) {
    EXPECT_EQ(TrimRootBackslash(c.path, c.style), c.trimmed) << c.path;
  }
}

// 2 for the whole signature (letter case aside), 1 for its first six characters, else 0;
// texts shorter than six characters compare whole.
TEST(VersionRank, FullMatchThenSixCharactersThenNothing) {
  const std::string version = "LE_UK_P:XP_Standard (11-Nov-2000  15:21)";
  struct Case {
    std::string exe;
    std::string patch;
    int rank;
  };
  for (const Case& c :
       {Case{version, "le_uk_p:xp_standard (11-nov-2000  15:21)", 2},
        Case{version, "LE_UK_A:M_Standard (1-Jan-2001  00:00)", 1}, Case{version, "le_uK_", 1},
        Case{version, "LE_US_Standard", 0}, Case{"", "LE_UK_Standard", 0}, Case{"", "", 2},
        Case{"LE_U", "LE_UK_Standard", 0}, Case{"ERROR", "error", 2},
        Case{"ERROR", "ERROR trying", 0}}) {
    EXPECT_EQ(VersionRank(c.exe, c.patch), c.rank) << c.exe << " / " << c.patch;
  }
}

}  // namespace
}  // namespace varnock
