// A temporary copy of the same name left in the patch folder by an interrupted earlier run,
// from another version of the patch: the engine loads the patch the user chose, through a
// copy of its own, and the one left behind stays as it is.
#include "tests/common/immutable_flag.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

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

TEST_F(PatchFolderFaults, ACopyLeftByAnEarlierRunIsNeverLoadedNorReplaced) {
  const Bytes staleBytes = ReadBytes(stale);
  Immutable locked(stale);
  EXPECT_EQ(Apply(argumentPatch), ResultDone);
  EXPECT_TRUE(ui.OnlyPlain(kApplied)) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ReadBytes(exe), AppliedWithNine());
  EXPECT_EQ(ReadBytes(stale), staleBytes);
}

}  // namespace
}  // namespace varnock::testing
