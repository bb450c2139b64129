#include "support/paths.h"

#include <gtest/gtest.h>

#include <string>

namespace varnock {
namespace {

using namespace std::string_literals;

constexpr PathStyle kWin = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

TEST(PathTexts, FileNameWindowsStyle) {
  EXPECT_EQ(GetFileName("C:\\Games\\tomb4.exe", kWin), "tomb4.exe");
  EXPECT_EQ(GetFileName("C:tomb4.exe", kWin), "tomb4.exe");
  EXPECT_EQ(GetFileName("D:setup.exe", kWin), "setup.exe");
  EXPECT_EQ(GetFileName("C:\\Games\\", kWin), "");
  EXPECT_EQ(GetFileName("C:\\", kWin), "");
  EXPECT_EQ(GetFileName("C:", kWin), "");
  EXPECT_EQ(GetFileName("tomb4.exe", kWin), "tomb4.exe");
  EXPECT_EQ(GetFileName("", kWin), "");
  // A "/" is an ordinary character in this style.
  EXPECT_EQ(GetFileName("C:\\a/b.exe", kWin), "a/b.exe");
}

TEST(PathTexts, FileNamePosixStyle) {
  EXPECT_EQ(GetFileName("/games/tomb4.exe", kPosix), "tomb4.exe");
  EXPECT_EQ(GetFileName("/games/", kPosix), "");
  EXPECT_EQ(GetFileName("/", kPosix), "");
  EXPECT_EQ(GetFileName("tomb4.exe", kPosix), "tomb4.exe");
  EXPECT_EQ(GetFileName("", kPosix), "");
  // Neither a colon nor a backslash ends a folder here.
  EXPECT_EQ(GetFileName("/games/C:tomb4.exe", kPosix), "C:tomb4.exe");
  EXPECT_EQ(GetFileName("/games/a\\b.exe", kPosix), "a\\b.exe");
}

TEST(PathTexts, ParentFolderBothStyles) {
  EXPECT_EQ(GetParentFolder("C:\\Games\\tomb4.exe", kWin), "C:\\Games");
  EXPECT_EQ(GetParentFolder("C:\\tomb4.exe", kWin), "C:");
  EXPECT_EQ(GetParentFolder("C:tomb4.exe", kWin), "");
  EXPECT_EQ(GetParentFolder("tomb4.exe", kWin), "");
  EXPECT_EQ(GetParentFolder("C:\\Games\\", kWin), "C:\\Games");
  EXPECT_EQ(GetParentFolder("", kWin), "");

  EXPECT_EQ(GetParentFolder("/games/tomb4.exe", kPosix), "/games");
  EXPECT_EQ(GetParentFolder("/tomb4.exe", kPosix), "");
  EXPECT_EQ(GetParentFolder("tomb4.exe", kPosix), "");
  EXPECT_EQ(GetParentFolder("/games/", kPosix), "/games");
  EXPECT_EQ(GetParentFolder("C:\\Games\\tomb4.exe", kPosix), "");
}

TEST(PathTexts, ExtensionAndBaseName) {
  EXPECT_EQ(StripExtension("tomb4.exe"), "tomb4");
  EXPECT_EQ(StripExtension("a.b.exe"), "a.b");
  EXPECT_EQ(StripExtension("script"), "script");
  EXPECT_EQ(StripExtension(".hidden"), "");
  EXPECT_EQ(StripExtension(""), "");

  EXPECT_EQ(GetBaseName("C:\\Games\\tomb4.exe", kWin), "tomb4");
  EXPECT_EQ(GetBaseName("C:\\x.y\\tomb4.exe", kWin), "tomb4");
  EXPECT_EQ(GetBaseName("C:\\x.y\\tomb4", kWin), "tomb4");
  EXPECT_EQ(GetBaseName("D:setup.exe", kWin), "setup");
  EXPECT_EQ(GetBaseName("tomb4", kWin), "tomb4");
  EXPECT_EQ(GetBaseName("a.b.exe", kWin), "a.b");

  EXPECT_EQ(GetBaseName("/games/tomb4.exe", kPosix), "tomb4");
  EXPECT_EQ(GetBaseName("/x.y/tomb4.exe", kPosix), "tomb4");
  EXPECT_EQ(GetBaseName("/x.y/tomb4", kPosix), "tomb4");
  EXPECT_EQ(GetBaseName("script", kPosix), "script");
  EXPECT_EQ(GetBaseName("", kPosix), "");
}

TEST(PathTexts, TrimNulls) {
  EXPECT_EQ(TrimNulls(""), "");
  EXPECT_EQ(TrimNulls("  \0 \0"s), "");
  EXPECT_EQ(TrimNulls("tomb4.exe\0\0\0"s), "tomb4.exe");
  EXPECT_EQ(TrimNulls("\0 a b \0"s), "a b");
  EXPECT_EQ(TrimNulls("a\0b"s), "a b");
  // Only blanks are trimmed; tabs and line ends stay.
  EXPECT_EQ(TrimNulls("\ta\n"), "\ta\n");
}

TEST(PathTexts, JoinAndSeparator) {
  EXPECT_EQ(Separator(kWin), '\\');
  EXPECT_EQ(Separator(kPosix), '/');
  EXPECT_EQ(JoinPath("C:\\Games", "tomb4.exe", kWin), "C:\\Games\\tomb4.exe");
  EXPECT_EQ(JoinPath("C:", "tomb4.exe", kWin), "C:\\tomb4.exe");
  EXPECT_EQ(JoinPath("C:\\", "tomb4.exe", kWin), "C:\\\\tomb4.exe");
  EXPECT_EQ(JoinPath("/games", "tomb4.exe", kPosix), "/games/tomb4.exe");
  EXPECT_EQ(JoinPath("", "tomb4.exe", kPosix), "/tomb4.exe");
#ifdef _WIN32
  EXPECT_EQ(Separator(), '\\');
#else
  EXPECT_EQ(Separator(), '/');
  EXPECT_EQ(GetFileName("C:tomb4.exe"), "C:tomb4.exe");
#endif
}

TEST(PathTexts, LetterCaseComparisons) {
  EXPECT_TRUE(EqualsIgnoreCase("TOMB4.EXE", "tomb4.exe"));
  EXPECT_TRUE(EqualsIgnoreCase("", ""));
  EXPECT_FALSE(EqualsIgnoreCase("tomb4", "tomb4.exe"));
  EXPECT_FALSE(EqualsIgnoreCase("[", "{"));  // differ by the case bit, yet are no letters
  EXPECT_FALSE(EqualsIgnoreCase("\xC3\xA9", "\xC3\x89"));  // other bytes compare exactly

  EXPECT_TRUE(ContainsIgnoreCase("C:\\TRLE\\WinRoomEdit.EXE", ".exe"));
  EXPECT_TRUE(ContainsIgnoreCase("abc", ""));
  EXPECT_FALSE(ContainsIgnoreCase("C:\\trle", ".exe"));
  EXPECT_FALSE(ContainsIgnoreCase("", "a"));
}

}  // namespace
}  // namespace varnock
