// Counts, lengths and offsets chosen to hurt, in patch files and bundles: each is refused
// with a clear message (or, for a bundle, quietly), sizes nothing beyond the file's own
// size, and leaves the executable byte-identical.
#include <climits>

#include "patchfile/bundle_unpack.h"
#include "tests/fault/fault_fixture.h"
#include "tests/patchfile/largest_allocation.h"
#include "tests/patchfile/patch_bytes.h"

namespace varnock::testing {
namespace {

struct HostilePatch {
  const char* name;
  Bytes file;
};

// Patches whose counts stop them at the loader, then patches that load, with values that only
// the engine meets.
std::vector<HostilePatch> HostilePatches(const PatchRecord& good) {
  std::vector<HostilePatch> cases;
  for (const Bytes& file :
       {PatchBytes().Ints({INT_MAX, 0, 0, 0, 0, 0, 0, 0}).bytes(),
        PatchBytes().Ints({0, 0, INT_MAX, 0, 0, 0, 0, 0}).bytes(),
        PatchBytes().Ints({0, 0, 0, 0, 0, 0, INT_MAX, 0}).bytes(),
        PatchBytes().Ints({1, 0, 0, 0, 0, 0, 0, 0, 100, INT_MAX, 1, 2}).bytes()}) {
    cases.push_back({"huge count", file});
  }
  const auto add = [&](const char* name, const std::function<void(PatchRecord&)>& change) {
    PatchRecord record = good;
    change(record);
    cases.push_back({name, WritePatch(record)});
  };
  for (const std::int32_t offset : {INT_MAX, INT_MAX - 1, INT_MIN, -1}) {
    add("zone offset", [offset](PatchRecord& r) { r.Zones.SetOffset(1, offset); });
    add("dynamic zone offset", [offset](PatchRecord& r) {
      r.Flags |= Dynamic;
      r.Zones.SetOffset(0, offset);
    });
    add("alignment record offset", [offset](PatchRecord& r) {
      r.Flags |= Dynamic | RecordAlignment;
      r.Zones.SetOffset(0, offset);
    });
    add("argument offset", [offset](PatchRecord& r) { WithArgument(r, NumLong, {offset}); });
  }
  for (const std::int32_t maxLength : {INT_MIN, -1}) {
    add("text argument length", [maxLength](PatchRecord& r) {
      WithArgument(r, TextStringZ, {r.Zones[0].Offset}, maxLength);
    });
  }
  add("argument type", [](PatchRecord& r) { WithArgument(r, INT_MIN, {r.Zones[0].Offset}); });
  return cases;
}

using HostileCounts = FaultTest;

TEST_F(HostileCounts, HostilePatchValuesChangeNothing) {
  for (const HostilePatch& c : HostilePatches(Zones())) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.Write(JoinPath("patches", "Patch#2#.ptc"), c.file);
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

// A bundle is read whole once; nothing it claims is sized beyond that.
TEST_F(HostileCounts, HugeCountsInABundleAreRefusedWithinTheFilesOwnSize) {
  const auto bundleOf = [](std::int32_t entryCount, std::int32_t size, const std::string& name) {
    PatchBytes bytes;
    bytes.Raw(Bytes(64, 0x90));
    bytes.Raw(Bytes(kBundleMagic, kBundleMagic + sizeof kBundleMagic)).Raw({'V', '1', '.', '5'});
    bytes.Int(entryCount).Int(size).Raw(ToBytes(name));
    bytes.Raw({'d', 'a', 't', 'a'}).Int(64);
    return bytes.bytes();
  };
  const Bytes bundles[] = {
      bundleOf(INT_MAX, 4, std::string("a.ptc") + '\0'),
      bundleOf(1, INT_MAX, std::string("a.ptc") + '\0'),
      bundleOf(1, 4, "a name without its end"),
      bundleOf(INT_MIN, 4, std::string("a.ptc") + '\0'),
  };
  for (const Bytes& bundle : bundles) {
    const std::string program = dir.Write("varnock.exe", bundle);
    std::vector<std::string> unpacked;
    std::int32_t count = 0;
    LargestAllocation allocations;
    EXPECT_FALSE(UnpackBundle(program, dir.File("unpacked"), unpacked, count));
    EXPECT_LT(allocations.Largest(), bundle.size() + 64U * 1024U);  // buffers, never counts
  }
  EXPECT_TRUE(Leftovers(dir.File("unpacked"), {"a.ptc"}).empty());
}

}  // namespace
}  // namespace varnock::testing
