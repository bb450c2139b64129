#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/patch_operation.h"
#include "patchfile/bundle_unpack.h"
#include "patchfile/patch_source.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/platform.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

using testing::ReadBytes;
using testing::RecordingUi;
using testing::TempDir;

const std::vector<std::string> kShipped = {"Patch_ExtraVideoMemory20MB.ptc",
                                           "Patch_ExtraWadTextures.ptc"};

// The bundle as a program built here carries it, unpacked into a fresh folder.
class ShippedBundle : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UnpackBundle(OwnExecutablePath(), dir.File("patches"), unpacked, count));
    engine = dir.File("tomb4.exe");
    CopyFileOver(JoinPath(VARNOCK_DEMO_DIR, "tomb4.exe"), engine);
    original = ReadBytes(engine);
    ASSERT_EQ(original.size(), 0xC1000u);
  }

  std::string Patch(const std::string& name) { return JoinPath(dir.File("patches"), name); }

  TempDir dir;
  std::vector<std::string> unpacked;
  std::int32_t count = 0;
  std::string engine;
  Bytes original;
  RecordingUi ui;
};

TEST_F(ShippedBundle, CarriesTheTwoPatchesWrittenFromTheirSources) {
  ASSERT_EQ(count, 2);
  EXPECT_EQ(unpacked, (std::vector<std::string>{Patch(kShipped[0]), Patch(kShipped[1])}));
  for (const std::string& name : kShipped) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ReadBytes(Patch(name)), ReadBytes(JoinPath(VARNOCK_DEMO_DIR, name)));
    PatchSource fromSource;
    std::string error;
    ASSERT_TRUE(ReadPatchSourceFile(JoinPath(VARNOCK_PATCH_SOURCES, StripExtension(name) + ".txt"),
                                    fromSource, error))
        << error;
    EXPECT_EQ(ReadBytes(Patch(name)), CompiledPatch(fromSource));
  }
}

// Each patch applies and removes cleanly on the demonstration engine; both applied, then both
// removed, give the original back.
TEST_F(ShippedBundle, EachPatchAppliesAndRemovesCleanly) {
  PatchRecord record;
  for (const std::string& name : kShipped) {
    SCOPED_TRACE(name);
    ui.Clear();
    EXPECT_EQ(RunPatchOperation(Patch(name), engine, false, record, ui), ResultDone);
    EXPECT_TRUE(ui.OnlyPlain("Ok: applying patch operation has been performed"));
    EXPECT_NE(ReadBytes(engine), original);
    EXPECT_EQ(RunPatchOperation(Patch(name), engine, false, record, ui), ResultAlreadyDone);
  }
  for (const std::string& name : kShipped) {
    ui.Clear();
    EXPECT_EQ(RunPatchOperation(Patch(name), engine, true, record, ui), ResultDone);
    EXPECT_TRUE(ui.OnlyPlain("Ok: removing patch operation has been performed"));
  }
  EXPECT_EQ(ReadBytes(engine), original);
}

#ifdef VARNOCK_PROGRAM_PATH
TEST(ProgramBundle, TheProgramCarriesTheSameBundle) {
  TempDir dir;
  std::vector<std::string> unpacked;
  std::int32_t count = 0;
  ASSERT_TRUE(UnpackBundle(VARNOCK_PROGRAM_PATH, dir.path(), unpacked, count));
  ASSERT_EQ(count, 2);
  for (const std::string& name : kShipped) {
    EXPECT_EQ(ReadBytes(JoinPath(dir.path(), name)), ReadBytes(JoinPath(VARNOCK_DEMO_DIR, name)));
  }
}
#endif

}  // namespace
}  // namespace varnock
