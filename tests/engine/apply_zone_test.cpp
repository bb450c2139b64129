#include "engine/apply_zone.h"

#include <limits>

#include "engine/dynamic_search.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

const Bytes kOriginal{0x11, 0x22, 0x33};
const Bytes kPatched{0xAA, 0xBB, 0xCC};

TEST(ApplyZone, BytesThatAreNeitherExpectedNorNewFailUnlessUnverified) {
  Bytes image{0, 0x11, 0xBB, 0x33, 0};  // half applied
  const PatchZone zone = Zone(1, kOriginal, kPatched);
  EXPECT_EQ(ApplyZone(image, zone, false, false, false), ResultFailed);
  EXPECT_EQ(ApplyZone(image, zone, true, false, false), ResultFailed);
  EXPECT_EQ(image, (Bytes{0, 0x11, 0xBB, 0x33, 0}));

  EXPECT_EQ(ApplyZone(image, zone, true, false, true), ResultDone);
  EXPECT_EQ(image, (Bytes{0, 0x11, 0x22, 0x33, 0}));
}

TEST(ApplyZone, ZonesNotWhollyInsideTheImageFailWithoutWriting) {
  const Bytes before{0x11, 0x22, 0x33, 0x44};
  Bytes image = before;
  const std::int32_t max = std::numeric_limits<std::int32_t>::max();
  for (const std::int32_t offset : {-1, 2, 4, max, max - 1, std::numeric_limits<int>::min()}) {
    EXPECT_EQ(ApplyZone(image, Zone(offset, kOriginal, kPatched), false, false, true), ResultFailed)
        << offset;
  }
  PatchZone inconsistent = Zone(0, kOriginal, kPatched);
  inconsistent.Length = max;  // a length that overflows 32-bit bounds arithmetic
  EXPECT_EQ(ApplyZone(image, inconsistent, false, false, true), ResultFailed);
  inconsistent.Length = 4;  // longer than its byte lists
  EXPECT_EQ(ApplyZone(image, inconsistent, false, false, true), ResultFailed);
  EXPECT_EQ(image, before);
}

TEST(TestZoneAt, ShiftsNeverReachPastEitherEndOrWrap) {
  const Bytes image{0x11, 0x22, 0x33, 0xAA, 0xBB, 0xCC};
  const PatchZone zone = Zone(2, kOriginal, kPatched);
  EXPECT_EQ(TestZoneAt(image, -2, zone, false), ResultDone);
  EXPECT_EQ(TestZoneAt(image, 1, zone, false), ResultAlreadyDone);
  EXPECT_EQ(TestZoneAt(image, 1, zone, true), ResultDone);
  EXPECT_EQ(TestZoneAt(image, -3, zone, false), ResultFailed);
  EXPECT_EQ(TestZoneAt(image, 2, zone, false), ResultFailed);
  const PatchZone far = Zone(std::numeric_limits<std::int32_t>::max(), kOriginal, kPatched);
  EXPECT_EQ(TestZoneAt(image, std::numeric_limits<std::int32_t>::max(), far, false), ResultFailed);
  EXPECT_EQ(zone.Offset, 2);
}

}  // namespace
}  // namespace varnock::testing
