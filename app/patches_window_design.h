#pragma once

#include <array>
#include <string_view>

#include "support/translation.h"
#include "ui/window_design.h"

namespace varnock {

// The Patches window: every patch of the patch folder on the chosen executable, with a check
// mark for what the executable should hold. A sizeable dialog; these are its places at its
// first size, the list and the description taking what it grows by.
inline constexpr std::string_view kPatchesWindowCaption = TrNoop("Patches");

inline constexpr std::array<ControlDesign, 18> kPatchesWindowControls = {{
    {"Label_Filter", ControlKind::Label, TrNoop("Filter:"), {90, 90, 900, 240}, 0},
    {"Text_Filter", ControlKind::EntryLine, "", {1035, 45, 4500, 285}, 1},
    {"Label_Patches", ControlKind::Label, TrNoop("Patches:"), {90, 435, 1500, 240}, 2},
    {"List_Patches", ControlKind::CheckTable, "", {90, 690, 11800, 3600}, 3},
    {"Label_Description",
     ControlKind::Label,
     TrNoop("Patch description:"),
     {90, 4380, 1800, 240},
     4},
    {"Text_Description",
     ControlKind::ValueArea,
     "",
     {90, 4635, 11800, 1080},
     5,
     ControlFont::Courier},
    {"Label_Progress", ControlKind::Label, "", {90, 5805, 11800, 240}, 6},
    {"Check_History",
     ControlKind::CheckBox,
     TrNoop("Keep a history of changes"),
     {90, 6120, 3600, 285},
     7},
    {"Pul_ApplyChanges",
     ControlKind::Button,
     TrNoop("Apply changes"),
     {90, 6480, 1800, 330},
     8,
     ControlFont::Bold},
    {"Pul_Refresh", ControlKind::Button, TrNoop("Refresh"), {1980, 6480, 1200, 330}, 9},
    {"Pul_Restore", ControlKind::Button, TrNoop("Restore original…"), {3270, 6480, 1900, 330}, 10},
    {"Pul_Undo", ControlKind::Button, TrNoop("Undo last change"), {5260, 6480, 1900, 330}, 11},
    {"Pul_History", ControlKind::Button, TrNoop("History…"), {7250, 6480, 1200, 330}, 12},
    {"Pul_SaveSet", ControlKind::Button, TrNoop("Save set…"), {8540, 6480, 1100, 330}, 13},
    {"Pul_OpenSet", ControlKind::Button, TrNoop("Open set…"), {9730, 6480, 1100, 330}, 14},
    {"Pul_Close", ControlKind::Button, TrNoop("Close"), {10920, 6480, 970, 330}, 15},
    // The language the windows speak from their next start, kept in the settings.
    {"Label_Language", ControlKind::Label, TrNoop("Language:"), {7610, 90, 1590, 240}, 16},
    {"Combo_Language", ControlKind::DropDownList, "", {9290, 45, 2600, 315}, 17},
}};

inline constexpr std::array<ControlLabel, 4> kPatchesWindowLabels = {{
    {"Text_Filter", "Label_Filter"},
    {"Combo_Language", "Label_Language"},
    {"List_Patches", "Label_Patches"},
    {"Text_Description", "Label_Description"},
}};

inline constexpr std::array<ControlName, 1> kPatchesWindowNames = {{
    {"Label_Progress", TrNoop("Progress")},
}};

inline constexpr WindowDesign kPatchesWindowDesign = {11980, 6900, kPatchesWindowControls,
                                                      kPatchesWindowLabels, kPatchesWindowNames};

// The columns of List_Patches, left to right, with their widths in twips at the first size;
// the check mark sits in the first.
struct ColumnDesign {
  std::string_view caption;
  int width;
};

inline constexpr std::array<ColumnDesign, 5> kPatchesColumns = {{
    {TrNoop("Patch"), 3300},
    {TrNoop("Status"), 2300},
    {TrNoop("Conflicts with"), 1800},
    {TrNoop("Argument"), 1000},
    {TrNoop("Dynamic"), 900},
}};

}  // namespace varnock
