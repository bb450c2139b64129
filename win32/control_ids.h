#pragma once

namespace varnock::win32 {

// The window classes of the program's own windows.
inline constexpr wchar_t kMainWindowClass[] = L"Varnock.Principale";
inline constexpr wchar_t kPickerClass[] = L"Varnock.Dialog_GetFileODir";
inline constexpr wchar_t kInputBoxClass[] = L"Varnock.InputBox";

// The main window's controls.
enum MainControl : int {
  kLabel1 = 101,
  kComboPatch,
  kLabelCreatedWithVersion,
  kLabelTombVersion,
  kLabelDynamic,
  kLabel3,
  kTextDescription,
  kLabelApplyPatchTo,
  kLabelNomeExe,
  kPulChangeTomb,
  kPulApplyPatch,
  kPulRemovePatch,
  kPulCancel,
  kLabelTombVersionNow,
  kLabelCurrentTomb,
  kPulChangeDirSrc,
  kLabelDirSrc,
  kPulStampaDescription,
};

// The picker's controls.
enum PickerControl : int {
  kPickerOk = 201,
  kPickerCancel,
  kDir1,
  kDrive1,
  kTextPath,
  kPulNuovaCartella,
  kTextPathDir,
  kListFiles,
  kLabelFile,
  kPickerLabel1,
};

// The input box's controls; OK and Cancel are IDOK and IDCANCEL.
enum InputBoxControl : int {
  kInputPrompt = 301,
  kInputAnswer,
};

}  // namespace varnock::win32
