#include "tools/demo_engine.h"

#include <gtest/gtest.h>

#include "target/exe_version.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"

namespace varnock::tools {
namespace {

PatchRecord OneZone(std::int32_t offset, const Bytes& original) {
  PatchRecord record;
  record.ExeName = "tomb4.exe";
  record.Zones = {{offset, static_cast<std::int32_t>(original.size()), original, original}};
  return record;
}

// The engine has the signature of a standard UK build; a zone that would spoil a piece of it or
// put a probe text before its place is refused.
TEST(DemoEngine, HasTheSignatureOfAStandardUkBuildAndRefusesZonesThatSpoilIt) {
  Bytes engine;
  std::string error;
  ASSERT_TRUE(MakeDemoEngine({OneZone(0x1000, {0x40})}, engine, error)) << error;
  varnock::testing::TempDir dir;
  varnock::testing::RecordingUi ui;
  EXPECT_EQ(GetExeVersion(dir.Write("tomb4.exe", engine), ui), kDemoEngineVersion);
  EXPECT_FALSE(MakeDemoEngine({OneZone(0x3C, {1})}, engine, error));
  EXPECT_EQ(error, "zone 0 of the patch for tomb4.exe overlaps another piece at 0x3C");
  EXPECT_FALSE(MakeDemoEngine({OneZone(0x3000, {'S', 'l', 'e', 'e', 'p', 0})}, engine, error));
  EXPECT_EQ(error, "the Sleep text also occurs before its place");
}

}  // namespace
}  // namespace varnock::tools
