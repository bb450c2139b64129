// A temporary copy of the same name left in the patch folder by an interrupted earlier run,
// from another version of the patch: the engine loads the patch the user chose, or nothing.
#include <sys/stat.h>

#include <filesystem>

#include "tests/common/immutable_flag.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;

class PatchFolderFaults : public FaultTest {
 protected:
  PatchFolderFaults() {
    PatchRecord withArgument = Zones();
    WithArgument(withArgument, NumByte, {100});
    argumentPatch = WritePatchNamed("Patch#1#.ptc", withArgument);
    // The earlier version wrote one byte elsewhere, whatever was there.
    stale = WritePatchNamed("temp_Patch#9#.ptc", Patch(DontVerifySource, {Zone(200, {0}, {0xAA})}));
    ui.QueueAnswer("9");
  }
  Bytes AppliedWithNine() const {
    Bytes applied = Applied();
    applied[100] = 9;
    return applied;
  }

  std::string argumentPatch;
  std::string stale;
};

TEST_F(PatchFolderFaults, AReadOnlyCopyLeftByAnEarlierRunIsReplaced) {
  ASSERT_EQ(::chmod(stale.c_str(), 0444), 0);
  EXPECT_EQ(Apply(argumentPatch), ResultDone);
  EXPECT_TRUE(ui.OnlyPlain(kApplied)) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ReadBytes(exe), AppliedWithNine());
  EXPECT_FALSE(fs::exists(ToFsPath(stale)));
}

TEST_F(PatchFolderFaults, ACopyThatCannotBeReplacedIsNeverLoaded) {
  Immutable locked(stale);
  if (locked.Unavailable()) {
    GTEST_SKIP() << "the immutable attribute cannot be set here";
  }
  EXPECT_EQ(Apply(argumentPatch), ResultFailed);
  ASSERT_EQ(ui.messages.size(), 2U) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ui.messages[0], (RecordedMessage{std::string(kGeneralFailure) + "the temporary copy " +
                                                 stale + " cannot be replaced",
                                             MessageIcon::Critical}));
  EXPECT_EQ(ui.messages[1].text, kApplyFailed);
  EXPECT_EQ(ReadBytes(exe), image);
}

}  // namespace
}  // namespace varnock::testing
