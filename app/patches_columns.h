#pragma once

#include <array>

#include "app/patches_window_design.h"
#include "app/window_stretch.h"

namespace varnock {

// The widths of List_Patches's columns, in pixels, left to right.
using ColumnWidths = std::array<int, kPatchesColumns.size()>;

// The columns for rows `rowWidth` pixels wide, from their widths at the window's first size
// (`first`): the Patch and the Conflicts columns share what the rows are wider by, so that
// both names and conflicts show more of themselves in a larger window; when the rows are
// narrower (a scroll bar came), the Conflicts column gives way, down to half its first width.
ColumnWidths FitPatchesColumns(const ColumnWidths& first, int rowWidth);

// The columns' first widths: the design's (`design`), a column widened where its title, with
// the header's padding around it (`titles`), needs more.
ColumnWidths TitledColumns(const ColumnWidths& design, const ColumnWidths& titles);

// What the columns at their first widths need across rows `rowWidth` pixels wide: a window
// whose list is too narrow for them grows as for a caption that does not fit.
CaptionMeasure ColumnsMeasure(const ColumnWidths& first, int rowWidth);

}  // namespace varnock
