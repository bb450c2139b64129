#include "engine/dynamic_search.h"

#include "engine/perform_patch.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

constexpr std::int32_t kAt = 1000;  // where the reference zone was recorded
const Bytes kCode{0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x10, 0x53, 0x56};
const Bytes kNewCode{0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90};

// The code at kAt + shift, with a second, shorter zone 20 bytes after it.
Bytes ImageWithCodeAt(std::int32_t shift) {
  Bytes image = RandomImage(4096);
  Put(image, static_cast<std::size_t>(kAt + shift), kCode);
  Put(image, static_cast<std::size_t>(kAt + shift + 20), {0xC3, 0xCC});
  return image;
}

PatchRecord DynamicPatch(std::int32_t flags = Dynamic) {
  return Patch(flags, {Zone(kAt + 20, {0xC3, 0xCC}, {0xC2, 0x04}), Zone(kAt, kCode, kNewCode)});
}

// The first occurrence in the search order wins: in place, then -48 and +48, then the window
// from -112 to +112 in increasing order; nothing beyond it.
TEST(FindDynamicShift, SearchesInPlaceThenMinusAndPlus48ThenTheWindowInIncreasingOrder) {
  const auto search = [](std::initializer_list<std::int32_t> shifts) {
    Bytes image = RandomImage(4096);
    for (const std::int32_t shift : shifts) {
      Put(image, static_cast<std::size_t>(kAt + shift), kCode);
    }
    std::int32_t found = 7;
    const ResultCode result =
        FindDynamicShift(image, Zone(kAt, kCode, kNewCode), false, found, false);
    return std::make_pair(result, found);
  };
  for (const std::int32_t shift : {0, 16, 112, -112, 113, -113, 500}) {
    const bool inside = shift >= -112 && shift <= 112;
    EXPECT_EQ(search({shift}),
              std::make_pair(inside ? ResultDone : ResultFailed, inside ? shift : 0))
        << shift;
  }
  EXPECT_EQ(search({-5, -48}).second, -48);
  EXPECT_EQ(search({-100, 48}).second, 48);
  EXPECT_EQ(search({48, -48}).second, -48);
  EXPECT_EQ(search({5, -100}).second, -100);
  EXPECT_EQ(search({3, 2}).second, 2);
}

using PlaceDynamicPatch = ImageTest;

TEST_F(PlaceDynamicPatch, ThroughTheEngineTheShiftedZonesAreVerifiedAndWritten) {
  PatchRecord loaded;
  std::string version;
  const auto run = [&](const PatchRecord& patch, std::int32_t shift, bool removing) {
    dir.Write("tomb4.exe", ImageWithCodeAt(shift));
    EXPECT_TRUE(WritePatchFile(dir.File("dynamic.ptc"), patch));
    return PerformPatch(dir.File("dynamic.ptc"), exe, removing, version, loaded, {.ui = ui});
  };
  EXPECT_EQ(run(DynamicPatch(), 113, false), ResultFailed);
  EXPECT_EQ(ReadBytes(exe), ImageWithCodeAt(113));
  EXPECT_EQ(run(DynamicPatch(), -16, true), ResultAlreadyDone);
  EXPECT_EQ(ReadBytes(exe), ImageWithCodeAt(-16));

  // Under RecordAlignment the alignment record is found anywhere in the file, at the nearest
  // occurrence of its original bytes, and never written.
  PatchRecord aligned = DynamicPatch(Dynamic | RecordAlignment);
  aligned.Zones = {aligned.Zones[1], aligned.Zones[0]};
  EXPECT_EQ(run(aligned, 2000, false), ResultDone);
  Bytes expected = ImageWithCodeAt(2000);
  Put(expected, kAt + 2000 + 20, {0xC2, 0x04});
  EXPECT_EQ(ReadBytes(exe), expected);
  // On its own build the record lies in place with its original bytes: removable, not removed.
  EXPECT_EQ(run(aligned, 0, false), ResultDone);
  EXPECT_EQ(PerformPatch(dir.File("dynamic.ptc"), exe, true, version, loaded, {.ui = ui}),
            ResultDone);
  EXPECT_EQ(ReadBytes(exe), ImageWithCodeAt(0));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace varnock::testing
