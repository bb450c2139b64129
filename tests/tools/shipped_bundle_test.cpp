#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/patch_operation.h"
#include "patchfile/bundle_unpack.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/platform.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

// The bundle this test program carries, as every program built here does: the two patches the
// build wrote. Both applied to the demonstration engine, then both removed, give it back whole.
TEST(ShippedBundle, CarriesTheTwoPatchesThatApplyAndRemoveCleanly) {
  testing::TempDir dir;
  std::vector<std::string> unpacked;
  ASSERT_TRUE(UnpackBundle(OwnExecutablePath(), dir.File("patches"), unpacked));
  ASSERT_EQ(unpacked.size(), 2U);
  const Bytes original = ReadWholeFile(JoinPath(VARNOCK_DEMO_DIR, "tomb4.exe"));
  const std::string engine = dir.Write("tomb4.exe", original);
  testing::RecordingUi ui;
  PatchRecord record;
  for (const std::string& patch : unpacked) {
    SCOPED_TRACE(patch);
    EXPECT_EQ(ReadWholeFile(patch), ReadWholeFile(JoinPath(VARNOCK_DEMO_DIR, GetFileName(patch))));
    EXPECT_EQ(RunPatchOperation(patch, engine, false, record, {.ui = ui}), ResultDone);
    EXPECT_EQ(RunPatchOperation(patch, engine, false, record, {.ui = ui}), ResultAlreadyDone);
  }
  for (const std::string& patch : unpacked) {
    EXPECT_EQ(RunPatchOperation(patch, engine, true, record, {.ui = ui}), ResultDone);
  }
  EXPECT_EQ(ReadWholeFile(engine), original);
}

}  // namespace
}  // namespace varnock
