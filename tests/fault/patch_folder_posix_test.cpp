// A temporary copy of the same name left in the patch folder by an interrupted earlier run,
// from another version of the patch: the engine loads the patch the user chose, through a
// copy of its own, and the one left behind stays as it is.
#include "tests/common/immutable_flag.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

using PatchFolderFaults = FaultTest;

TEST_F(PatchFolderFaults, ACopyLeftByAnEarlierRunIsNeverLoadedNorReplaced) {
  // The earlier version wrote one byte elsewhere, whatever was there.
  const std::string stale =
      WritePatchNamed("temp_Patch#9#.ptc", Patch(DontVerifySource, {Zone(200, {0}, {0xAA})}));
  const Bytes staleBytes = ReadBytes(stale);
  const Immutable locked(stale);
  ui.QueueAnswer("9");
  EXPECT_EQ(Apply(argumentPatch), ResultDone);
  EXPECT_TRUE(ui.OnlyPlain(kApplied)) << Told();
  EXPECT_EQ(ReadBytes(exe), Applied(true));
  EXPECT_EQ(ReadBytes(stale), staleBytes);
}

}  // namespace
}  // namespace varnock::testing
