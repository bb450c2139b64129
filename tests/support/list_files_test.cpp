#include <gtest/gtest.h>

#include <algorithm>

#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

using Paths = std::vector<std::string>;

// Windows lists a folder in its own order; elsewhere the names come by their upper-case form,
// as an NTFS folder lists them: "." before letters, "_" after them.
Paths AsListed(Paths paths) {
#ifdef _WIN32
  std::sort(paths.begin(), paths.end());
#endif
  return paths;
}

TEST(ListFiles, MatchingFilesOnlyInTheOrderOfAnNtfsFolder) {
  testing::TempDir dir;
  for (const char* name : {"tomb4_old.exe", "Tomb4.exe", "TOMB4.EXE.txt", "tomb4_B.exe",
                           "tomb4_a.exe", "xtomb4.exe", "tomb4z.exe", ".tomb4.exe"}) {
    dir.WriteText(name, "x");
  }
  CreateFolder(dir.File("tomb4f.exe"));
  EXPECT_EQ(AsListed(ListFiles(dir.path(), "tomb4*.exe")),
            AsListed({dir.File("Tomb4.exe"), dir.File("tomb4z.exe"), dir.File("tomb4_a.exe"),
                      dir.File("tomb4_B.exe"), dir.File("tomb4_old.exe")}));
  const std::string withSeparator = dir.path() + Separator();
  EXPECT_EQ(ListFiles(withSeparator, ".T*"), Paths{withSeparator + Separator() + ".tomb4.exe"});
  EXPECT_TRUE(ListFiles(dir.File("missing"), "*").empty());
}

// The markers a listing gives, from the folder's entries or looked up, are those MarkerOf gives:
// a file the status judged from its listing is not taken for changed at the next look, and one
// written since is.
TEST(ListFiles, MarkedFilesCarryTheMarkersOfTheirFiles) {
  testing::TempDir dir;
  dir.WriteText("A.ptc", "a");
  dir.WriteText("b.PTC", std::string(70000, 'b'));
  dir.WriteText("c.txt", "c");
  const std::vector<ListedFile> listed = ListMarkedFiles(dir.path(), "*.ptc");
  ASSERT_EQ(listed.size(), 2U);
  for (const ListedFile& file : listed) {
    EXPECT_EQ(file.path, ListFiles(dir.path(), GetFileName(file.path))[0]);
    EXPECT_TRUE(file.marker.exists);
    EXPECT_EQ(file.marker, MarkerOf(file.path)) << file.path;
  }
  const FileMarker before = MarkerOf(dir.File("A.ptc"));
  dir.WriteText("A.ptc", "aa");
  EXPECT_NE(ListMarkedFiles(dir.path(), "A.ptc").at(0).marker, before);
}

}  // namespace
}  // namespace varnock
