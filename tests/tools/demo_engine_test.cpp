#include "tools/demo_engine.h"

#include <gtest/gtest.h>

#include "support/paths.h"
#include "target/exe_version.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"

namespace varnock::tools {
namespace {

using varnock::testing::RecordingUi;
using varnock::testing::TempDir;

PatchRecord OneZone(std::int32_t offset, Bytes original) {
  PatchRecord record;
  record.ExeName = "tomb4.exe";
  record.Zones = {{offset, static_cast<std::int32_t>(original.size()), original, original}};
  record.ZoneCount = 1;
  return record;
}

TEST(DemoEngine, HasTheSignatureOfAStandardUkBuild) {
  Bytes engine;
  std::string error;
  ASSERT_TRUE(MakeDemoEngine({OneZone(0x1000, {0x40, 0x4B, 0x4C, 0x00})}, engine, error)) << error;
  EXPECT_EQ(engine.size(), 0xC1000u);
  EXPECT_EQ(engine[0x1000], 0x40);
  TempDir dir;
  RecordingUi ui;
  EXPECT_EQ(GetExeVersion(dir.Write("tomb4.exe", engine), ui), kDemoEngineVersion);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(DemoEngine, RefusesZonesThatCollideOrLieOutside) {
  Bytes engine;
  std::string error;
  EXPECT_FALSE(MakeDemoEngine({OneZone(0x3C, {1, 2})}, engine, error));
  EXPECT_EQ(error, "zone 0 of the patch for tomb4.exe overlaps another piece at 0x3C");
  EXPECT_FALSE(MakeDemoEngine({OneZone(0x6FAAD + 26, {1, 2})}, engine, error));
  EXPECT_EQ(error, "probe A overlaps another piece at 0x6FAC7");
  EXPECT_FALSE(MakeDemoEngine({OneZone(0x2000, {1}), OneZone(0x2000, {1})}, engine, error));
  EXPECT_FALSE(MakeDemoEngine({OneZone(0xC1000 - 1, {1, 2})}, engine, error));
  EXPECT_EQ(error, "zone 0 of the patch for tomb4.exe lies outside the engine");
  EXPECT_FALSE(MakeDemoEngine({OneZone(-1, {1})}, engine, error));
  EXPECT_EQ(error, "zone 0 of the patch for tomb4.exe lies outside the engine");
  // A zone that repeats a probe before its place would change the signature.
  const std::string sleep("Sleep", 6);
  EXPECT_FALSE(MakeDemoEngine({OneZone(0x3000, Bytes(sleep.begin(), sleep.end()))}, engine, error));
  EXPECT_EQ(error, "the Sleep text also occurs before its place");
  EXPECT_TRUE(engine.empty());
}

}  // namespace
}  // namespace varnock::tools
