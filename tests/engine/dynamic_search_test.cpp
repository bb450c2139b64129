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

using PlaceDynamicPatch = ImageTest;

TEST_F(PlaceDynamicPatch, ThroughTheEngineTheShiftedZonesAreVerifiedAndWritten) {
  PatchRecord loaded;
  std::string version;
  const auto run = [&](const PatchRecord& patch, std::int32_t shift, bool removing) {
    dir.Write("tomb4.exe", ImageWithCodeAt(shift));
    EXPECT_TRUE(WritePatchFile(dir.File("dynamic.ptc"), patch));
    return PerformPatch(dir.File("dynamic.ptc"), exe, removing, version, loaded, ui);
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
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace varnock::testing
