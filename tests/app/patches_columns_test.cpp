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

// A column is as wide as its design or its title, whichever is wider; the table needs their sum.
TEST(PatchesColumns, AreWideEnoughForTheirTitlesAndTheirSumIsWhatTheListNeeds) {
  const ColumnWidths design{220, 150, 120, 67, 60};
  const ColumnWidths titles{40, 160, 120, 70, 12};
  const ColumnWidths first = TitledColumns(design, titles);
  EXPECT_EQ(first, (ColumnWidths{220, 160, 120, 70, 60}));
  const CaptionMeasure table = ColumnsMeasure(first, 600);
  EXPECT_EQ(table.needed, 630);
  EXPECT_EQ(table.room, 600);
}

}  // namespace
}  // namespace varnock::testing
