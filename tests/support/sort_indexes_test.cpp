#include "support/sort_indexes.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <utility>

namespace varnock {
namespace {

using Indexes = std::vector<std::int32_t>;

TEST(SortIndexes, ExchangeOrderDescending) {
  EXPECT_EQ(SortIndexes({2, 1, 1, 3}, 4, false), (Indexes{3, 0, 2, 1}));
  EXPECT_EQ(SortIndexes({0, 2, 1, 2}, 4, false), (Indexes{1, 3, 2, 0}));
  // Not stable: equal values end up out of their first order.
  EXPECT_EQ(SortIndexes({1, 1, 2}, 3, false), (Indexes{2, 1, 0}));
}

TEST(SortIndexes, ExchangeOrderAscending) {
  EXPECT_EQ(SortIndexes({3, 1, 2}, 3, true), (Indexes{1, 2, 0}));
  EXPECT_EQ(SortIndexes({2, 2, 1}, 3, true), (Indexes{2, 1, 0}));
  // Compared as signed 32-bit numbers.
  EXPECT_EQ(SortIndexes({INT32_MAX, INT32_MIN, -1}, 3, true), (Indexes{1, 2, 0}));
}

TEST(SortIndexes, CountsAndValuesLeftAlone) {
  EXPECT_EQ(SortIndexes({}, 0, false), Indexes{});
  EXPECT_EQ(SortIndexes({5, 9}, 0, false), Indexes{});
  EXPECT_EQ(SortIndexes({5}, 1, false), (Indexes{0}));
  // Only the first `count` values take part.
  EXPECT_EQ(SortIndexes({1, 2, 9}, 2, false), (Indexes{1, 0}));
  // A count beyond the values, or below zero, never reads past them.
  EXPECT_EQ(SortIndexes({1, 2}, 5, false), (Indexes{1, 0}));
  EXPECT_EQ(SortIndexes({1, 2}, -3, false), Indexes{});
  const std::vector<std::int32_t> values{4, 8, 1};
  SortIndexes(values, 3, true);
  EXPECT_EQ(values, (std::vector<std::int32_t>{4, 8, 1}));
}

// The exchange sort step by step, as the quick path must reproduce it.
Indexes ExchangeSorted(const std::vector<std::int32_t>& values, bool ascending) {
  Indexes index(values.size());
  for (std::size_t i = 0; i < index.size(); ++i) {
    index[i] = static_cast<std::int32_t>(i);
  }
  for (std::size_t k = 0; k + 1 < index.size(); ++k) {
    for (std::size_t j = k + 1; j < index.size(); ++j) {
      const std::int32_t a = values[static_cast<std::size_t>(index[k])];
      const std::int32_t b = values[static_cast<std::size_t>(index[j])];
      if (ascending ? a > b : a < b) {
        std::swap(index[k], index[j]);
      }
    }
  }
  return index;
}

void ExpectExchangeOrder(const std::vector<std::int32_t>& values) {
  for (const bool ascending : {false, true}) {
    ASSERT_EQ(SortIndexes(values, static_cast<std::int32_t>(values.size()), ascending),
              ExchangeSorted(values, ascending))
        << "ascending " << ascending << ", " << values.size() << " values";
  }
}

TEST(SortIndexes, EveryMixOfThreeRanksInExchangeOrder) {
  for (std::size_t length = 0; length <= 8; ++length) {
    std::vector<std::int32_t> ranks(length, 0);
    for (bool more = true; more;) {
      ExpectExchangeOrder(ranks);
      more = false;
      for (std::int32_t& rank : ranks) {
        if (++rank <= 2) {
          more = true;
          break;
        }
        rank = 0;
      }
    }
  }
}

TEST(SortIndexes, RandomValuesInExchangeOrder) {
  std::mt19937 random(18);
  const std::vector<std::vector<std::int32_t>> kinds{
      {0, 1, 2}, {0, 2}, {1}, {-7, 40, INT32_MAX}, {INT32_MIN, 0, 1, 2}, {}};
  for (const std::size_t length : {2, 3, 9, 31, 100, 513}) {
    for (const std::vector<std::int32_t>& kind : kinds) {
      std::vector<std::int32_t> values(length);
      for (std::int32_t& value : values) {
        // No kinds given: any 32-bit value.
        value = kind.empty() ? static_cast<std::int32_t>(random()) : kind[random() % kind.size()];
      }
      ExpectExchangeOrder(values);
    }
  }
}

}  // namespace
}  // namespace varnock
