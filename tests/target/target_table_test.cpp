#include "target/target_table.h"

#include <gtest/gtest.h>

#include <tuple>

#include "patchfile/patch_writer.h"
#include "support/paths.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

TEST(TargetTableTest, RowsMatchIgnoringCaseOthersGiveAStarAndAFailedLoadChangesNothing) {
  testing::TempDir dir;
  testing::RecordingUi ui;
  PatchRecord record;
  std::string baseName = "before";
  std::string relativePath;
  EXPECT_FALSE(GetPatchTarget(dir.File("absent.ptc"), record, ui, baseName, relativePath));
  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + dir.File("absent.ptc")));
  EXPECT_EQ(baseName, "before");

  const std::string sep(1, Separator());
  for (const auto& [exeName, base, relative] :
       {std::tuple{"TOMB4.EXE", "TOMB4", sep + "tomb4.exe"},
        std::tuple{"script.exe", "script", sep + "script" + sep + "script.exe"},
        std::tuple{"tomb4_copy.exe", "*", std::string()}}) {
    PatchRecord patch;
    patch.ExeName = exeName;
    ASSERT_TRUE(WritePatchFile(dir.File("p.ptc"), patch));
    ui.Clear();
    ASSERT_TRUE(GetPatchTarget(dir.File("p.ptc"), record, ui, baseName, relativePath));
    // The patch stays loaded.
    EXPECT_EQ(std::tie(baseName, relativePath, record.ExeName),
              std::tuple(base, relative, exeName));
    EXPECT_TRUE(ui.messages.empty());
  }
}

}  // namespace
}  // namespace varnock
