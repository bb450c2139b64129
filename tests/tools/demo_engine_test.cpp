#include "tools/demo_engine.h"

#include <gtest/gtest.h>

#include "target/exe_version.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"

namespace varnock::tools {
namespace {

PatchRecord OneZone(std::int32_t offset, Bytes original) {
  PatchRecord record;
  record.ExeName = "tomb4.exe";
  record.Zones = {{offset, static_cast<std::int32_t>(original.size()), original, original}};
  record.ZoneCount = 1;
  return record;
}

// The engine has the signature of a standard UK build; zones that would spoil it, collide or
// lie outside are refused.
TEST(DemoEngine, HasTheSignatureOfAStandardUkBuildAndRefusesZonesThatSpoilIt) {
  Bytes engine;
  std::string error;
  ASSERT_TRUE(MakeDemoEngine({OneZone(0x1000, {0x40, 0x4B, 0x4C, 0x00})}, engine, error)) << error;
  EXPECT_EQ(engine[0x1000], 0x40);
  varnock::testing::TempDir dir;
  varnock::testing::RecordingUi ui;
  EXPECT_EQ(GetExeVersion(dir.Write("tomb4.exe", engine), ui), kDemoEngineVersion);
  EXPECT_TRUE(ui.messages.empty());
  const std::string sleep("Sleep", 6);
  const std::pair<PatchRecord, const char*> refused[] = {
      {OneZone(0x3C, {1, 2}), "zone 0 of the patch for tomb4.exe overlaps another piece at 0x3C"},
      {OneZone(0x6FAAD + 26, {1, 2}), "probe A overlaps another piece at 0x6FAC7"},
      {OneZone(0xC1000 - 1, {1, 2}), "zone 0 of the patch for tomb4.exe lies outside the engine"},
      {OneZone(-1, {1}), "zone 0 of the patch for tomb4.exe lies outside the engine"},
      {OneZone(0x3000, Bytes(sleep.begin(), sleep.end())),
       "the Sleep text also occurs before its place"},
  };
  for (const auto& [record, message] : refused) {
    engine.clear();
    EXPECT_FALSE(MakeDemoEngine({record}, engine, error));
    EXPECT_EQ(error, message);
    EXPECT_TRUE(engine.empty());
  }
  EXPECT_FALSE(MakeDemoEngine({OneZone(0x2000, {1}), OneZone(0x2000, {1})}, engine, error));
}

}  // namespace
}  // namespace varnock::tools
