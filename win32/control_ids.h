#pragma once

#include <string_view>

#include "app/history_window_design.h"
#include "app/main_window_design.h"
#include "app/patches_window_design.h"
#include "picker/picker_design.h"

namespace varnock::win32 {

// The window classes of the program's own windows.
inline constexpr wchar_t kMainWindowClass[] = L"Varnock.Principale";
inline constexpr wchar_t kPickerClass[] = L"Varnock.Dialog_GetFileODir";
inline constexpr wchar_t kInputBoxClass[] = L"Varnock.InputBox";
inline constexpr wchar_t kPatchesWindowClass[] = L"Varnock.Patches";
inline constexpr wchar_t kHistoryWindowClass[] = L"Varnock.History";

// A control's identifier is its place in its window's design after a base of the window's own.
inline constexpr int kMainControlBase = 101;
inline constexpr int kPickerControlBase = 201;
inline constexpr int kPatchesControlBase = 401;
inline constexpr int kHistoryControlBase = 501;

constexpr int MainControlId(std::string_view name) {
  return kMainControlBase + IndexOf(kMainWindowControls, name);
}
constexpr int PickerControlId(std::string_view name) {
  return kPickerControlBase + IndexOf(kPickerControls, name);
}
constexpr int PatchesControlId(std::string_view name) {
  return kPatchesControlBase + IndexOf(kPatchesWindowControls, name);
}

// The main window's controls.
inline constexpr int kLabel1 = MainControlId("Label1");
inline constexpr int kComboPatch = MainControlId("Combo_Patch");
inline constexpr int kLabelCreatedWithVersion = MainControlId("Label_CreatedWithVersion");
inline constexpr int kLabelTombVersion = MainControlId("Label_TombVersion");
inline constexpr int kLabelDynamic = MainControlId("Label_Dynamic");
inline constexpr int kLabel3 = MainControlId("Label3");
inline constexpr int kTextDescription = MainControlId("Text_Description");
inline constexpr int kLabelApplyPatchTo = MainControlId("Label_ApplyPatchTo");
inline constexpr int kLabelNomeExe = MainControlId("Label_NomeExe");
inline constexpr int kPulChangeTomb = MainControlId("Pul_ChangeTomb");
inline constexpr int kPulApplyPatch = MainControlId("Pul_ApplyPatch");
inline constexpr int kPulRemovePatch = MainControlId("Pul_RemovePatch");
inline constexpr int kPulCancel = MainControlId("Pul_Cancel");
inline constexpr int kLabelTombVersionNow = MainControlId("Label_TombVersionNow");
inline constexpr int kLabelCurrentTomb = MainControlId("Label_CurrentTomb");
inline constexpr int kPulChangeDirSrc = MainControlId("Pul_ChangeDirSrc");
inline constexpr int kLabelDirSrc = MainControlId("Label_DirSrc");
inline constexpr int kPulStampaDescription = MainControlId("Pul_StampaDescription");
inline constexpr int kLabelStatus = MainControlId("Label_Status");
inline constexpr int kPulAllPatches = MainControlId("Pul_AllPatches");

// The picker's controls.
inline constexpr int kPickerOk = PickerControlId("Pul_Ok");
inline constexpr int kPickerCancel = PickerControlId("Pul_Cancel");
inline constexpr int kDir1 = PickerControlId("Dir1");
inline constexpr int kDrive1 = PickerControlId("Drive1");
inline constexpr int kTextPath = PickerControlId("Text_Path");
inline constexpr int kPulNuovaCartella = PickerControlId("Pul_NuovaCartella");
inline constexpr int kTextPathDir = PickerControlId("Text_PathDir");
inline constexpr int kListFiles = PickerControlId("List_Files");
inline constexpr int kLabelFile = PickerControlId("Label_File");
inline constexpr int kPickerLabel1 = PickerControlId("Label1");

// The Patches window's controls.
inline constexpr int kTextFilter = PatchesControlId("Text_Filter");
inline constexpr int kListPatches = PatchesControlId("List_Patches");
inline constexpr int kPatchesDescription = PatchesControlId("Text_Description");
inline constexpr int kLabelProgress = PatchesControlId("Label_Progress");
inline constexpr int kCheckHistory = PatchesControlId("Check_History");
inline constexpr int kComboLanguage = PatchesControlId("Combo_Language");
inline constexpr int kPulApplyChanges = PatchesControlId("Pul_ApplyChanges");
inline constexpr int kPulRefresh = PatchesControlId("Pul_Refresh");
inline constexpr int kPulRestore = PatchesControlId("Pul_Restore");
inline constexpr int kPulUndo = PatchesControlId("Pul_Undo");
inline constexpr int kPulHistory = PatchesControlId("Pul_History");
inline constexpr int kPulSaveSet = PatchesControlId("Pul_SaveSet");
inline constexpr int kPulOpenSet = PatchesControlId("Pul_OpenSet");
inline constexpr int kPulClosePatches = PatchesControlId("Pul_Close");

// The History window's controls.
constexpr int HistoryControlId(std::string_view name) {
  return kHistoryControlBase + IndexOf(kHistoryWindowControls, name);
}
inline constexpr int kListHistory = HistoryControlId("List_History");
inline constexpr int kLabelHistoryState = HistoryControlId("Label_HistoryState");
inline constexpr int kPulCloseHistory = HistoryControlId("Pul_CloseHistory");

// The input box's controls; OK and Cancel are IDOK and IDCANCEL.
enum InputBoxControl : int {
  kInputPrompt = 301,
  kInputAnswer,
};

}  // namespace varnock::win32
