#pragma once

#include <windows.h>

namespace varnock::win32 {

// The selected row of a single-selection list after the states of rows `first` to `last`
// (-1: every row) changed from `oldState` to `newState` (LVIS_ flags), the selected row being
// `selected` before (-1: none). Following the changes the list tells costs the same at any
// number of rows, where asking an owner-data list for its selected row passes over them all.
int RowSelectedAfter(int selected, int first, int last, UINT oldState, UINT newState);

}  // namespace varnock::win32
