#include <gtest/gtest.h>

#include "app/trim_root_backslash.h"
#include "app/version_rank.h"

namespace varnock {
namespace {

TEST(TrimRootBackslash, WindowsDriveRootLosesItsBackslashOnly) {
  constexpr auto kWin = PathStyle::Windows;
  EXPECT_EQ(TrimRootBackslash("C:\\", kWin), "C:");
  EXPECT_EQ(TrimRootBackslash("C:", kWin), "C:");
  EXPECT_EQ(TrimRootBackslash("C:\\a", kWin), "C:\\a");
  EXPECT_EQ(TrimRootBackslash("C:\\Games", kWin), "C:\\Games");
  EXPECT_EQ(TrimRootBackslash("", kWin), "");
  // Every ":\" of a short path goes, as the rule says.
  EXPECT_EQ(TrimRootBackslash(":\\:", kWin), "::");
}

TEST(TrimRootBackslash, PosixRootBecomesEmptySoJoiningGivesOneSlash) {
  constexpr auto kPosix = PathStyle::Posix;
  EXPECT_EQ(TrimRootBackslash("/", kPosix), "");
  EXPECT_EQ(TrimRootBackslash("", kPosix) + "/" + "p.ptc", "/p.ptc");
  EXPECT_EQ(TrimRootBackslash("/a", kPosix), "/a");
  EXPECT_EQ(TrimRootBackslash("/home/user", kPosix), "/home/user");
}

TEST(VersionRank, FullMatchThenSixCharactersThenNothing) {
  const std::string version = "LE_UK_P:XP_Standard (11-Nov-2000  15:21)";
  EXPECT_EQ(VersionRank(version, version), 2);
  EXPECT_EQ(VersionRank(version, "le_uk_p:xp_standard (11-nov-2000  15:21)"), 2);
  EXPECT_EQ(VersionRank(version, "LE_UK_A:M_Standard (1-Jan-2001  00:00)"), 1);
  EXPECT_EQ(VersionRank(version, "le_uK_"), 1);
  EXPECT_EQ(VersionRank(version, "LE_US_Standard (11-Nov-2000  15:21)"), 0);
}

TEST(VersionRank, ShortTextsCompareWhole) {
  EXPECT_EQ(VersionRank("", "LE_UK_Standard"), 0);
  EXPECT_EQ(VersionRank("", ""), 2);
  EXPECT_EQ(VersionRank("LE_U", "LE_UK_Standard"), 0);
  EXPECT_EQ(VersionRank("ERROR", "error"), 2);
  EXPECT_EQ(VersionRank("ERROR", "ERROR trying"), 0);
}

}  // namespace
}  // namespace varnock
