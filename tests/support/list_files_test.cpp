#include <gtest/gtest.h>

#include <algorithm>

#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

using testing::TempDir;
using Paths = std::vector<std::string>;

// Windows lists a folder in its own order; elsewhere the names come by their upper-case form,
// as an NTFS folder lists them.
Paths AsListed(Paths paths) {
#ifdef _WIN32
  std::sort(paths.begin(), paths.end());
#endif
  return paths;
}

TEST(ListFiles, MatchesFilesOnly) {
  TempDir dir;
  for (const char* name : {"b.ptc", "A.PTC", "c.txt", ".hidden.ptc", "x.ptc.bak"}) {
    dir.WriteText(name, "x");
  }
  CreateFolder(dir.File("folder.ptc"));
  std::int32_t count = -1;
  const Paths found = AsListed(ListFiles(dir.path(), "*.ptc", count));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(found, AsListed({dir.File(".hidden.ptc"), dir.File("A.PTC"), dir.File("b.ptc")}));
}

TEST(ListFiles, NothingFound) {
  TempDir dir;
  std::int32_t count = -1;
  EXPECT_TRUE(ListFiles(dir.File("missing"), "*.ptc", count).empty());
  EXPECT_EQ(count, 0);
  count = -1;
  EXPECT_TRUE(ListFiles(dir.path(), "*.ptc", count).empty());
  EXPECT_EQ(count, 0);
  const std::string file = dir.WriteText("a.ptc", "x");
  count = -1;
  EXPECT_TRUE(ListFiles(file, "*", count).empty());
  EXPECT_EQ(count, 0);
}

TEST(ListFiles, PickerPatternAndOrder) {
  TempDir dir;
  for (const char* name : {"tomb4_old.exe", "Tomb4.exe", "TOMB4.EXE.txt", "tomb4_B.exe",
                           "tomb4_a.exe", "xtomb4.exe", "tomb4z.exe"}) {
    dir.WriteText(name, "x");
  }
  std::int32_t count = 0;
  const Paths found = AsListed(ListFiles(dir.path(), "tomb4*.exe", count));
  // Listed as an NTFS folder lists them: by the upper-case names, so "_" comes after letters
  // and "." before them.
  EXPECT_EQ(found, AsListed({dir.File("Tomb4.exe"), dir.File("tomb4z.exe"), dir.File("tomb4_a.exe"),
                             dir.File("tomb4_B.exe"), dir.File("tomb4_old.exe")}));
  EXPECT_EQ(count, 5);
}

TEST(ListFiles, PathIsFolderSeparatorName) {
  TempDir dir;
  dir.WriteText("a.ptc", "x");
  std::int32_t count = 0;
  const std::string withSeparator = dir.path() + Separator();
  EXPECT_EQ(ListFiles(withSeparator, "*.ptc", count), Paths{withSeparator + Separator() + "a.ptc"});
}

TEST(WildcardMatch, StarsAndQuestionMarks) {
  EXPECT_TRUE(WildcardMatch("*.ptc", "a.ptc"));
  EXPECT_TRUE(WildcardMatch("*.ptc", ".ptc"));
  EXPECT_TRUE(WildcardMatch("*.PTC", "a.ptc"));
  EXPECT_TRUE(WildcardMatch("*.ptc", "a.b.ptc"));
  EXPECT_FALSE(WildcardMatch("*.ptc", "a.ptcx"));
  EXPECT_FALSE(WildcardMatch("*.ptc", "a.pt"));
  EXPECT_TRUE(WildcardMatch("*", ""));
  EXPECT_TRUE(WildcardMatch("*", "anything"));
  EXPECT_FALSE(WildcardMatch("", "a"));
  EXPECT_TRUE(WildcardMatch("", ""));
  EXPECT_TRUE(WildcardMatch("t?mb4.exe", "TOMB4.EXE"));
  EXPECT_FALSE(WildcardMatch("t?mb4.exe", "tmb4.exe"));
  EXPECT_TRUE(WildcardMatch("a*b*c", "aXXbYYbZc"));
  EXPECT_FALSE(WildcardMatch("a*b*c", "aXXbYYbZ"));
  EXPECT_TRUE(WildcardMatch("**a**", "bab"));
  // "?" stands for one character, however many bytes it takes.
  EXPECT_TRUE(WildcardMatch("?.ptc", "\xC3\xA9.ptc"));
  EXPECT_TRUE(WildcardMatch("*?.ptc", "\xE2\x82\xAC.ptc"));
  EXPECT_FALSE(WildcardMatch("??.ptc", "\xC3\xA9.ptc"));
}

}  // namespace
}  // namespace varnock
