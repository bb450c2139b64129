#include "engine/dynamic_search.h"

#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

constexpr std::int32_t kAt = 1000;  // where the reference zone was recorded
const Bytes kCode{0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x10, 0x53, 0x56};
const Bytes kNewCode{0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90};

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

}  // namespace
}  // namespace varnock::testing
