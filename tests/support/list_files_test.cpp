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

}  // namespace
}  // namespace varnock
