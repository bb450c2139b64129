#include <gtest/gtest.h>

#include <tuple>

#include "app/picker_start.h"
#include "app/trim_root_backslash.h"
#include "engine/version_rank.h"

namespace varnock {
namespace {

constexpr PathStyle kWindows = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

// A Windows drive root loses its backslash only (every ":\" of a short path goes); the POSIX
// root becomes empty so that joining gives one slash.
TEST(TrimRootBackslash, RootsLoseTheirSeparatorOnly) {
  for (const auto& [style, path, trimmed] :
       {std::tuple{kWindows, "C:\\", "C:"}, std::tuple{kWindows, "C:", "C:"},
        std::tuple{kWindows, "C:\\a", "C:\\a"}, std::tuple{kWindows, ":\\:", "::"},
        std::tuple{kWindows, "", ""}, std::tuple{kPosix, "/", ""},
        std::tuple{kPosix, "/a", "/a"}}) {
    EXPECT_EQ(TrimRootBackslash(path, style), trimmed) << path;
  }
}

// 2 for the whole signature (letter case aside), 1 for its first six characters, else 0;
// texts shorter than six characters compare whole.
TEST(VersionRank, FullMatchThenSixCharactersThenNothing) {
  const std::string version = "LE_UK_P:XP_Standard (11-Nov-2000  15:21)";
  const std::tuple<std::string, std::string, int> cases[] = {
      {version, "le_uk_p:xp_standard (11-nov-2000  15:21)", 2},
      {version, "LE_UK_A:M_Standard (1-Jan-2001  00:00)", 1},
      {version, "le_uK_", 1},
      {version, "LE_US_Standard", 0},
      {"", "", 2},
      {"ERROR", "error", 2},
      {"ERROR", "ERROR trying", 0}};
  for (const auto& [exe, patch, rank] : cases) {
    EXPECT_EQ(VersionRank(exe, patch), rank) << exe << " / " << patch;
  }
}

// A drive root is given whole; the target picker starts at the chosen executable's folder, else
// the level editor's, else the current folder.
TEST(PickerStart, DrivesRootsAreGivenWhole) {
  for (const auto& [style, patchFolder, start] :
       {std::tuple{kWindows, "C:", "C:\\"}, std::tuple{kWindows, "C:\\Games", "C:\\Games"},
        std::tuple{kPosix, "", "/"}, std::tuple{kPosix, "/srv", "/srv"}}) {
    EXPECT_EQ(PatchPickerStart(patchFolder, style), start) << patchFolder;
  }
  EXPECT_EQ(TargetPickerStart("C:\\tomb4.exe", "", "D:\\", kWindows), "C:\\");
  EXPECT_EQ(TargetPickerStart("C:\\\\tomb4.exe", "", "D:\\", kWindows), "C:\\");
  EXPECT_EQ(TargetPickerStart("/tomb4.exe", "/editor", "/home", kPosix), "/");
  EXPECT_EQ(TargetPickerStart("", "/editor", "/home", kPosix), "/editor");
  EXPECT_EQ(TargetPickerStart("", "", "/home", kPosix), "/home");
}

}  // namespace
}  // namespace varnock
