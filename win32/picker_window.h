#pragma once

#include <windows.h>

#include <vector>

#include "picker/picker_presenter.h"
#include "picker/picker_view.h"
#include "picker/picker_window_host.h"
#include "win32/focus_keeper.h"
#include "win32/fonts.h"
#include "win32/value_look.h"

namespace varnock::win32 {

// The Dialog_GetFileODir window: native controls wired to the picker presenter. The window is
// made when the object is and goes when the user or the presenter closes it.
class PickerWindow : public PickerView {
 public:
  PickerWindow(Dialog_GetFileODir& presenter, HWND owner);
  ~PickerWindow() override;
  PickerWindow(const PickerWindow&) = delete;
  PickerWindow& operator=(const PickerWindow&) = delete;

  HWND Handle() const { return window_; }
  // Every message of the window.
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  void SetCaption(const std::string& caption) override;
  void SetDrives(const std::vector<std::string>& items) override;
  void SelectDrive(int index) override;
  void SetFolders(const std::vector<FolderEntry>& entries, int current) override;
  void SetFiles(const std::vector<std::string>& names) override;
  void SetPathText(const std::string& text) override;
  std::string NewFolderName() const override;
  void SetFolderMode(bool folderMode) override;
  void Close() override;

 private:
  void PlaceControls();
  void OnCommand(int id, int code);
  void OnEnter();
  void MeasureFolder(MEASUREITEMSTRUCT& item) const;
  void DrawFolder(const DRAWITEMSTRUCT& item) const;
  HWND Control(int id) const { return GetDlgItem(window_, id); }

  Dialog_GetFileODir& presenter_;
  int dpi_;
  WindowFonts fonts_;
  ValueLook look_;
  HWND window_ = nullptr;
  FocusKeeper focus_;
  bool folderMode_ = false;
  std::vector<FolderEntry> folders_;
};

// Shows a fresh picker window modally over the owner for each use of the picker.
class Win32PickerWindowHost : public PickerWindowHost {
 public:
  explicit Win32PickerWindowHost(HWND owner) : owner_(owner) {}
  void RunModal(Dialog_GetFileODir& dialog) override;

 private:
  HWND owner_;
};

}  // namespace varnock::win32
