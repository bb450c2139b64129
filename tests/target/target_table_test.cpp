#include "target/target_table.h"

#include <gtest/gtest.h>

#include "patchfile/patch_writer.h"
#include "support/paths.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

class TargetTableTest : public ::testing::Test {
 protected:
  std::string PatchFor(const std::string& exeName) {
    PatchRecord patch;
    patch.ExeName = exeName;
    patch.Description = "for " + exeName;
    const std::string path = dir.File("p.ptc");
    EXPECT_TRUE(WritePatchFile(path, patch));
    return path;
  }

  testing::TempDir dir;
  testing::RecordingUi ui;
  PatchRecord record;
  std::string baseName = "before";
  std::string relativePath = "before";
};

TEST_F(TargetTableTest, TableRowsMatchIgnoringCaseAndKeepTheStoredCase) {
  const std::string sep(1, Separator());
  const struct {
    const char* exeName;
    std::string baseName;
    std::string relativePath;
  } cases[] = {
      {"tomb4.exe", "tomb4", sep + "tomb4.exe"},
      {"TOMB4.EXE", "TOMB4", sep + "tomb4.exe"},
      {"tom2pc.exe", "tom2pc", sep + "tom2pc.exe"},
      {"WinRoomEdit.exe", "WinRoomEdit", sep + "winroomedit.exe"},
      {"script.exe", "script", sep + "script" + sep + "script.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exeName);
    ASSERT_TRUE(GetPatchTarget(PatchFor(c.exeName), record, ui, baseName, relativePath));
    EXPECT_EQ(baseName, c.baseName);
    EXPECT_EQ(relativePath, c.relativePath);
    EXPECT_EQ(record.Description, std::string("for ") + c.exeName);  // the patch stays loaded
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TargetTableTest, NameOutsideTheTableGivesStarAndNoPath) {
  for (const char* name : {"tomb4_copy.exe", "", "tomb4"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(GetPatchTarget(PatchFor(name), record, ui, baseName, relativePath));
    EXPECT_EQ(baseName, "*");
    EXPECT_EQ(relativePath, "");
  }
}

TEST_F(TargetTableTest, UnloadablePatchChangesNeitherText) {
  const std::string path = dir.File("absent.ptc");

  EXPECT_FALSE(GetPatchTarget(path, record, ui, baseName, relativePath));

  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + path));
  EXPECT_EQ(baseName, "before");
  EXPECT_EQ(relativePath, "before");
}

}  // namespace
}  // namespace varnock
