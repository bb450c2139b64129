#include "win32/list_selection.h"

#include <commctrl.h>

namespace varnock::win32 {

int RowSelectedAfter(int selected, int first, int last, UINT oldState, UINT newState) {
  const bool was = (oldState & LVIS_SELECTED) != 0;
  const bool is = (newState & LVIS_SELECTED) != 0;
  if (is && !was) {
    return first >= 0 ? first : selected;
  }
  if (was && !is) {
    const bool covered = first < 0 || (selected >= first && selected <= last);
    return covered ? -1 : selected;
  }
  return selected;
}

}  // namespace varnock::win32
