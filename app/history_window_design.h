#pragma once

#include <array>
#include <string_view>

#include "support/translation.h"
#include "ui/window_design.h"

namespace varnock {

// The history of the chosen executable, opened by the Patches window's "History…": one row an
// operation, oldest first, in a list that scrolls however long the history grows, and under it
// whether the file is still as the last change left it. Its caption names the executable.
inline constexpr std::array<ControlDesign, 4> kHistoryWindowControls = {{
    {"Label_History", ControlKind::Label, TrNoop("Changes, oldest first:"), {90, 90, 3000, 240}, 0},
    {"List_History", ControlKind::FileList, "", {90, 375, 9420, 3600}, 1},
    {"Label_HistoryState", ControlKind::Label, "", {90, 4065, 9420, 240}, 2},
    {"Pul_CloseHistory", ControlKind::Button, TrNoop("Close"), {8540, 4395, 970, 330}, 3},
}};

inline constexpr std::array<ControlLabel, 1> kHistoryWindowLabels = {{
    {"List_History", "Label_History"},
}};

inline constexpr WindowDesign kHistoryWindowDesign = {9600, 4815, kHistoryWindowControls,
                                                      kHistoryWindowLabels};

}  // namespace varnock
