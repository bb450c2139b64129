#include "app/patches_columns.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace varnock::testing {
namespace {

// Over random first widths (any dpi) and list widths: the columns fill the rows exactly while
// the Conflicts column can give way, the Patch and Conflicts columns share what the list grows
// by, and the others keep their widths.
TEST(PatchesColumns, PatchAndConflictsShareTheGrowthAndTheOthersKeepTheirWidth) {
  std::mt19937 random(35);
  for (int trial = 0; trial < 5000; ++trial) {
    ColumnWidths first{};
    for (int& width : first) {
      width = std::uniform_int_distribution(10, 400)(random);
    }
    const int total = std::accumulate(first.begin(), first.end(), 0);
    const int rowWidth = std::uniform_int_distribution(total / 2, total * 3)(random);
    const ColumnWidths widths = FitPatchesColumns(first, rowWidth);
    SCOPED_TRACE(rowWidth);
    EXPECT_EQ(widths[1], first[1]);
    EXPECT_EQ(widths[3], first[3]);
    EXPECT_EQ(widths[4], first[4]);
    EXPECT_GE(widths[2], first[2] / 2);
    const int grown = rowWidth - total;
    if (grown >= 0) {
      EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0), rowWidth);
      EXPECT_LE(std::abs((widths[0] - first[0]) - (widths[2] - first[2])), 1);
    } else {
      EXPECT_EQ(widths[0], first[0]);
      EXPECT_EQ(widths[2], std::max(first[2] / 2, first[2] + grown));
    }
  }
}

}  // namespace
}  // namespace varnock::testing
