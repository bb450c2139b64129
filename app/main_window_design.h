#pragma once

#include <array>
#include <string_view>

#include "app/main_window_view.h"
#include "support/translation.h"
#include "ui/window_design.h"

namespace varnock {

// The main window (Principale): a fixed dialog frame, caption " Varnock", its controls in tab
// order.
inline constexpr std::string_view kMainWindowCaption = " Varnock";

inline constexpr std::array<ControlDesign, 20> kMainWindowControls = {{
    {"Label1",
     ControlKind::Label,
     TrNoop("Choose patch:"),
     {90, 495, 1815, 240},
     0,
     ControlFont::Bold},
    {"Combo_Patch", ControlKind::DropDownList, "", {2340, 450, 4605, 315}, 1},
    {"Label_CreatedWithVersion",
     ControlKind::Label,
     TrNoop("From tomb4 version:"),
     {45, 855, 2175, 240},
     2},
    {"Label_TombVersion", ControlKind::ValueLabel, "", {2340, 855, 6045, 285}, 3},
    {"Label_Dynamic",
     ControlKind::MarkerLabel,
     TrNoop("Dynamic Patch !"),
     {7020, 495, 1500, 240},
     4,
     ControlFont::Bold},
    {"Label3", ControlKind::Label, TrNoop("Patch description:"), {90, 1350, 1725, 240}, 5},
    {"Text_Description",
     ControlKind::ValueArea,
     "",
     {2340, 1305, 6045, 960},
     6,
     ControlFont::Courier},
    {"Label_ApplyPatchTo",
     ControlKind::Label,
     TrNoop("Apply patch over following tomb4 program:"),
     {135, 2430, 6720, 240},
     7},
    {"Label_NomeExe", ControlKind::ValueLabel, "", {90, 2700, 7125, 285}, 8},
    {"Pul_ChangeTomb", ControlKind::Button, TrNoop("Change"), {7335, 2700, 1095, 285}, 9},
    {"Pul_ApplyPatch",
     ControlKind::Button,
     TrNoop("APPLY PATCH"),
     {2340, 3645, 2175, 330},
     10,
     ControlFont::Bold},
    {"Pul_RemovePatch",
     ControlKind::Button,
     TrNoop("REMOVE PATCH"),
     {4635, 3645, 2175, 330},
     11,
     ControlFont::Bold},
    {"Pul_Cancel", ControlKind::Button, TrNoop("Close"), {7335, 3645, 1185, 285}, 12},
    {"Label_TombVersionNow", ControlKind::ValueLabel, "", {2340, 3060, 6090, 285}, 13},
    {"Label_CurrentTomb",
     ControlKind::Label,
     TrNoop("Current tomb4 Version:"),
     {90, 3105, 2220, 240},
     14},
    {"Pul_ChangeDirSrc", ControlKind::Button, TrNoop("Patch Folder :"), {45, 45, 1860, 285}, 15},
    {"Label_DirSrc", ControlKind::ValueLabel, "", {2340, 45, 6045, 285}, 16},
    {"Pul_StampaDescription",
     ControlKind::Button,
     TrNoop("Print description"),
     {90, 1845, 2130, 285},
     17},
    // The status of the chosen patch for the chosen program, in the free row above the buttons.
    {"Label_Status", ControlKind::Label, "", {90, 3375, 8505, 240}, 18},
    // Opens the Patches window, in the free corner left of the two big buttons.
    {"Pul_AllPatches", ControlKind::Button, TrNoop("All patches…"), {90, 3645, 2130, 330}, 19},
}};

inline constexpr std::array<ControlLabel, 5> kMainWindowLabels = {{
    {"Combo_Patch", "Label1"},
    {"Label_TombVersion", "Label_CreatedWithVersion"},
    {"Text_Description", "Label3"},
    {"Label_NomeExe", "Label_ApplyPatchTo"},
    {"Label_TombVersionNow", "Label_CurrentTomb"},
}};

// The value fields that no label names: the patch folder beside its button, and the status.
inline constexpr std::array<ControlName, 2> kMainWindowNames = {{
    {"Label_DirSrc", TrNoop("Patch folder")},
    {"Label_Status", TrNoop("Patch status")},
}};

inline constexpr WindowDesign kMainWindowDesign = {8685, 4125, kMainWindowControls,
                                                   kMainWindowLabels, kMainWindowNames};

// The control that shows each label the presenter sets.
std::string_view ControlNameOf(MainLabel label);

}  // namespace varnock
