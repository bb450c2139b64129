#include "target/target_table.h"

#include <gtest/gtest.h>

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
  const std::string sep(1, Separator());
  std::string baseName;
  std::string relativePath;
  for (const auto& [exeName, target] : std::initializer_list<std::pair<std::string, std::string>>{
           {"TOMB4.EXE", "TOMB4 " + sep + "tomb4.exe"},
           {"script.exe", "script " + sep + "script" + sep + "script.exe"},
           {"tomb4_copy.exe", "* "},
           {"tomb4", "* "}}) {
    PatchRecord patch;
    patch.ExeName = exeName;
    patch.Description = "for " + exeName;
    ASSERT_TRUE(WritePatchFile(dir.File("p.ptc"), patch));
    ASSERT_TRUE(GetPatchTarget(dir.File("p.ptc"), record, ui, baseName, relativePath));
    EXPECT_EQ(baseName + " " + relativePath, target);
    EXPECT_EQ(record.Description, patch.Description);  // the patch stays loaded
  }
  EXPECT_TRUE(ui.messages.empty());

  baseName = "before";
  EXPECT_FALSE(GetPatchTarget(dir.File("absent.ptc"), record, ui, baseName, relativePath));
  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + dir.File("absent.ptc")));
  EXPECT_EQ(baseName, "before");
}

}  // namespace
}  // namespace varnock
