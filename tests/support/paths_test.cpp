#include "support/paths.h"

#include <gtest/gtest.h>

#include <string>

namespace varnock {
namespace {

using namespace std::string_literals;

constexpr PathStyle kWin = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

// A Windows path ends its folder part at a "\" or a drive colon, a POSIX one at a "/" only.
TEST(PathTexts, FileNameParentBaseNameTrimJoinAndLetterCase) {
  const struct {
    const char* path;
    PathStyle style;
    const char* name;
    const char* parent;
    const char* base;
  } cases[] = {
      {"C:\\x.y\\tomb4.exe", kWin, "tomb4.exe", "C:\\x.y", "tomb4"},
      {"D:setup.exe", kWin, "setup.exe", "", "setup"},
      {"C:\\Games\\", kWin, "", "C:\\Games", ""},
      {"C:\\a/b.c.exe", kWin, "a/b.c.exe", "C:", "a/b.c"},
      {"/tomb4.exe", kPosix, "tomb4.exe", "", "tomb4"},
      {"/games/C:a\\b.exe", kPosix, "C:a\\b.exe", "/games", "C:a\\b"},
      {"script", kPosix, "script", "", "script"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(GetFileName(c.path, c.style), c.name);
    EXPECT_EQ(GetParentFolder(c.path, c.style), c.parent);
    EXPECT_EQ(GetBaseName(c.path, c.style), c.base);
  }
  EXPECT_EQ(StripExtension(".hidden"), "");
  EXPECT_EQ(TrimNulls("  \0 \0"s), "");
  EXPECT_EQ(TrimNulls("\ta\n"), "\ta\n");  // only blanks are trimmed
  EXPECT_EQ(JoinPath("C:", "tomb4.exe", kWin), "C:\\tomb4.exe");
  EXPECT_EQ(JoinPath("", "tomb4.exe", kPosix), "/tomb4.exe");
#ifndef _WIN32
  EXPECT_EQ(GetFileName("C:tomb4.exe"), "C:tomb4.exe");
#endif
  EXPECT_TRUE(EqualsIgnoreCase("TOMB4.EXE", "tomb4.exe"));
  EXPECT_FALSE(EqualsIgnoreCase("[", "{"));  // differ by the case bit, yet are no letters
  EXPECT_FALSE(EqualsIgnoreCase("\xC3\xA9", "\xC3\x89"));
  EXPECT_TRUE(ContainsIgnoreCase("C:\\TRLE\\WinRoomEdit.EXE", ".exe"));
  EXPECT_FALSE(ContainsIgnoreCase("C:\\trle", ".exe"));
}

}  // namespace
}  // namespace varnock
