#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/patches_presenter.h"

namespace varnock::win32 {

// A small picture for each group of statuses, told apart by shape as well as by colour, as the
// Qt window shows them: a green disc (applied), a grey ring (not applied), an orange triangle
// (partly applied or does not fit), a blue square (another build or program), a red cross
// (broken); a row still pending shows none. The list's images, `size` pixels square, one per group
// in the groups' order; the caller destroys the list.
HIMAGELIST CreateStatusImages(int size);

// The image of `group` in that list.
int StatusImage(StatusGroup group);

}  // namespace varnock::win32
