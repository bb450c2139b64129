#include "support/sort_indexes.h"

#include <gtest/gtest.h>

#include <climits>

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

}  // namespace
}  // namespace varnock
