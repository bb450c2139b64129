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
  const struct {
    const char* exeName;
    std::string baseName;
    std::string relativePath;
  } cases[] = {
      {"TOMB4.EXE", "TOMB4", sep + "tomb4.exe"},
      {"tom2pc.exe", "tom2pc", sep + "tom2pc.exe"},
      {"WinRoomEdit.exe", "WinRoomEdit", sep + "winroomedit.exe"},
      {"script.exe", "script", sep + "script" + sep + "script.exe"},
      {"tomb4_copy.exe", "*", ""},
      {"", "*", ""},
      {"tomb4", "*", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exeName);
    PatchRecord patch;
    patch.ExeName = c.exeName;
    patch.Description = std::string("for ") + c.exeName;
    ASSERT_TRUE(WritePatchFile(dir.File("p.ptc"), patch));
    std::string baseName = "before";
    std::string relativePath = "before";
    ASSERT_TRUE(GetPatchTarget(dir.File("p.ptc"), record, ui, baseName, relativePath));
    EXPECT_EQ(baseName, c.baseName);
    EXPECT_EQ(relativePath, c.relativePath);
    EXPECT_EQ(record.Description, patch.Description);  // the patch stays loaded
  }
  EXPECT_TRUE(ui.messages.empty());

  std::string baseName = "before";
  std::string relativePath = "before";
  EXPECT_FALSE(GetPatchTarget(dir.File("absent.ptc"), record, ui, baseName, relativePath));
  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + dir.File("absent.ptc")));
  EXPECT_EQ(baseName + relativePath, "beforebefore");
}

}  // namespace
}  // namespace varnock
