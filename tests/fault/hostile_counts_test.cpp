// Counts, lengths and offsets chosen to hurt, in patch files: each is refused with a clear
// message, sizes nothing beyond the file's own size, and leaves the executable byte-identical.
// (A bundle's are the bundle fuzzer's, under its allocation limit.)
#include <climits>

#include "tests/fault/fault_fixture.h"
#include "tests/fault/largest_allocation.h"
#include "tests/patchfile/patch_bytes.h"

namespace varnock::testing {
namespace {

// Patches whose counts stop them at the loader, then patches that load, with values that only
// the engine meets.
std::vector<Bytes> HostilePatches(const PatchRecord& good) {
  std::vector<Bytes> files = {PatchBytes().Ints({INT_MAX, 0, 0, 0, 0, 0, 0, 0}).bytes(),
                              PatchBytes().Ints({0, 0, INT_MAX, 0, 0, 0, 0, 0}).bytes(),
                              PatchBytes().Ints({0, 0, 0, 0, 0, 0, INT_MAX, 0}).bytes(),
                              PatchBytes().Ints({1, 0, 0, 0, 0, 0, 0, 0, 100, INT_MAX, 1}).bytes()};
  const auto add = [&](const std::function<void(PatchRecord&)>& change) {
    PatchRecord record = good;
    change(record);
    files.push_back(WritePatch(record));
  };
  for (const std::int32_t offset : {INT_MAX, INT_MAX - 1, INT_MIN, -1}) {
    add([offset](PatchRecord& r) { r.Zones.SetOffset(1, offset); });
    for (const std::int32_t flags : {Dynamic, Dynamic | RecordAlignment}) {
      add([offset, flags](PatchRecord& r) {
        r.Flags |= flags;
        r.Zones.SetOffset(0, offset);
      });
    }
    add([offset](PatchRecord& r) { WithArgument(r, NumLong, {offset}); });
  }
  for (const std::int32_t maxLength : {INT_MIN, -1}) {
    add([maxLength](PatchRecord& r) {
      WithArgument(r, TextStringZ, {r.Zones[0].Offset}, maxLength);
    });
  }
  add([](PatchRecord& r) { WithArgument(r, INT_MIN, {r.Zones[0].Offset}); });
  return files;
}

using HostileCounts = FaultTest;

TEST_F(HostileCounts, HostilePatchValuesChangeNothing) {
  const std::vector<Bytes> files = HostilePatches(Zones());
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(i);
    const std::string path = dir.Write(JoinPath("patches", "Patch#2#.ptc"), files[i]);
    ui.Clear();
    ui.QueueAnswer("abc");
    LargestAllocation allocations;
    EXPECT_NE(Apply(path), ResultDone);
    EXPECT_LT(allocations.Largest(), image.size() + 64U * 1024U);
    ASSERT_FALSE(ui.messages.empty());
    const std::string& last = ui.messages.back().text;
    EXPECT_TRUE(last == kApplyFailed || last.starts_with("WARNING: ") ||
                (ui.OnlyCritical(ui.messages[0].text) &&
                 last.starts_with("Error trying to load binary patch from file: " + path)))
        << Told();
    EXPECT_EQ(ReadBytes(exe), image);
    EXPECT_EQ(LeftBehind({"tomb4.exe", "Patch.ptc", "Patch#1#.ptc", "Patch#2#.ptc"}), Names{});
  }
}

}  // namespace
}  // namespace varnock::testing
