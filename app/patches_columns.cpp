#include "app/patches_columns.h"

#include <algorithm>
#include <numeric>

namespace varnock {

namespace {

constexpr std::size_t kPatchColumn = 0;
constexpr std::size_t kConflictsColumn = 2;

}  // namespace

ColumnWidths FitPatchesColumns(const ColumnWidths& first, int rowWidth) {
  ColumnWidths widths = first;
  const int extra = rowWidth - std::accumulate(first.begin(), first.end(), 0);
  if (extra >= 0) {
    widths[kPatchColumn] += extra / 2;
    widths[kConflictsColumn] += extra - extra / 2;
  } else {
    widths[kConflictsColumn] =
        std::max(first[kConflictsColumn] / 2, first[kConflictsColumn] + extra);
  }
  return widths;
}

ColumnWidths TitledColumns(const ColumnWidths& design, const ColumnWidths& titles) {
  ColumnWidths widths{};
  for (std::size_t i = 0; i < widths.size(); ++i) {
    widths[i] = std::max(design[i], titles[i]);
  }
  return widths;
}

CaptionMeasure ColumnsMeasure(const ColumnWidths& first, int rowWidth) {
  return {std::accumulate(first.begin(), first.end(), 0), rowWidth};
}

}  // namespace varnock
