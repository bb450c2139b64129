#pragma once

#include <array>

#include "support/translation.h"
#include "ui/window_design.h"

namespace varnock {

// The file-or-folder dialog (Dialog_GetFileODir): a fixed dialog frame whose caption the caller
// sets, its controls in tab order. No button is the default or the cancel button.
inline constexpr std::array<ControlDesign, 10> kPickerControls = {{
    {"Pul_Ok", ControlKind::Button, TrNoop("OK"), {180, 5760, 1215, 330}, 0},
    {"Pul_Cancel", ControlKind::Button, TrNoop("Cancel"), {4500, 5760, 1215, 330}, 1},
    {"Dir1", ControlKind::FolderList, "", {180, 810, 5505, 1890}, 2},
    {"Drive1", ControlKind::DriveList, "", {225, 135, 1995, 315}, 3},
    {"Text_Path", ControlKind::ValueLine, "", {180, 5355, 5505, 285}, 4},
    {"Pul_NuovaCartella", ControlKind::Button, TrNoop("New Folder ->"), {2475, 135, 1500, 285}, 5},
    {"Text_PathDir", ControlKind::EntryLine, "", {4050, 135, 1635, 285}, 6},
    {"List_Files", ControlKind::FileList, "", {180, 3060, 5505, 2010}, 7, ControlFont::Courier},
    {"Label_File",
     ControlKind::Label,
     TrNoop("File:"),
     {225, 2790, 5505, 240},
     8,
     ControlFont::Courier},
    {"Label1",
     ControlKind::Label,
     TrNoop("Folder:"),
     {225, 540, 5505, 240},
     9,
     ControlFont::Courier},
}};

// The file-mode window; folder mode hides the file list and moves the controls below it up.
inline constexpr std::array<ControlLabel, 2> kPickerLabels = {{
    {"Dir1", "Label1"},
    {"List_Files", "Label_File"},
}};

// The drive list, the chosen path and the new folder's name have no label before them.
inline constexpr std::array<ControlName, 3> kPickerNames = {{
    {"Drive1", TrNoop("Drive")},
    {"Text_Path", TrNoop("Chosen path")},
    {"Text_PathDir", TrNoop("New folder name")},
}};

inline constexpr WindowDesign kPickerDesign = {5865, 6240, kPickerControls, kPickerLabels,
                                               kPickerNames};

// The client area's height in folder mode: it ends below the moved buttons with the margin of
// file mode (an outer height of 4015 twips with a classic frame).
inline constexpr int kPickerFolderModeHeight = 3690;

// Whether a control is shown in the given mode, and its place there.
bool ShownInMode(const ControlDesign& control, bool folderMode);
TwipsBox BoxInMode(const ControlDesign& control, bool folderMode);

}  // namespace varnock
