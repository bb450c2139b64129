#include "support/sort_indexes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numeric>
#include <utility>

namespace varnock {
namespace {

using Indexes = std::vector<std::int32_t>;

// The descending exchange sort step by step (not stable), as the linear sort of the ranks must
// reproduce it; a value outside 0..2 counts as the nearest rank.
void ExpectExchangeOrder(const std::vector<std::int32_t>& values) {
  Indexes index(values.size());
  std::iota(index.begin(), index.end(), 0);
  for (std::size_t k = 0; k + 1 < index.size(); ++k) {
    for (std::size_t j = k + 1; j < index.size(); ++j) {
      if (std::clamp(values[static_cast<std::size_t>(index[k])], 0, 2) <
          std::clamp(values[static_cast<std::size_t>(index[j])], 0, 2)) {
        std::swap(index[k], index[j]);
      }
    }
  }
  ASSERT_EQ(SortIndexes(values), index) << ::testing::PrintToString(values);
}

// Every mix of three ranks up to eight long, then ranks out of range, extremes among them.
TEST(SortIndexes, InExchangeOrder) {
  for (std::size_t length = 0; length <= 8; ++length) {
    std::vector<std::int32_t> ranks(length, 0);
    for (bool more = true; more;) {
      ExpectExchangeOrder(ranks);
      more = false;
      for (std::size_t i = 0; i < length && !more; ++i) {
        more = ++ranks[i] <= 2;
        ranks[i] = more ? ranks[i] : 0;
      }
    }
  }
  ExpectExchangeOrder({INT32_MAX, -7, 40, -7, INT32_MAX, 40, -7, 40, INT32_MAX});
  ExpectExchangeOrder({2, INT32_MIN, 1, 0, 2, 1, INT32_MIN, 0, 1, 2});
}

}  // namespace
}  // namespace varnock
