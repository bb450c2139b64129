#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "app/main_window_view.h"
#include "picker/picker_presenter.h"
#include "picker/system_picker_environment.h"
#include "win32/fonts.h"
#include "win32/picker_window.h"
#include "win32/value_look.h"

namespace varnock {
class MainPresenter;
}

namespace varnock::win32 {

// The main window (Principale): native controls placed from the design in twips, and the
// wiring of their notifications to the main presenter. It owns the picker, which lives as long
// as the window object.
class MainWindow : public MainWindowView {
 public:
  explicit MainWindow(UserInterface& ui);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Null when the window could not be made (no display).
  HWND Handle() const { return window_; }
  // Sends the controls' notifications to the presenter's handlers; the presenter must outlive
  // the window's events.
  void Connect(MainPresenter& presenter) { presenter_ = &presenter; }
  void ShowCentred();

  void ClearPatchList() override;
  void AddPatchItem(const std::string& text) override;
  void SelectPatchItem(int index) override;
  int SelectedPatchIndex() const override;
  std::string SelectedPatchText() const override;
  void SetCaption(MainLabel label, const std::string& text) override;
  void SetDescription(const std::string& text) override;
  void SetDynamicVisible(bool visible) override;
  bool RunPicker(const std::string& caption, const std::string& startFolder, bool testFile,
                 const std::string& mask, std::string& pathDir) override;
  bool PrintText(const std::string& text, const std::string& fontFace, int pointSize,
                 std::string& error) override;
  void CloseWindow() override;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void FitComboHeight();
  void OnCommand(int id, int code);
  void OnActivate(bool active);
  void OnDropFiles(HDROP drop);
  LRESULT OnControlColour(HDC dc, HWND control);
  void DrawValueField(const DRAWITEMSTRUCT& item) const;
  HWND Control(int id) const { return GetDlgItem(window_, id); }

  MainPresenter* presenter_ = nullptr;
  int dpi_;
  WindowFonts fonts_;
  ValueLook look_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HWND window_ = nullptr;
  HWND lastFocus_ = nullptr;
  SystemPickerEnvironment pickerEnvironment_;
  Win32PickerWindowHost pickerHost_;
  Dialog_GetFileODir picker_;
};

}  // namespace varnock::win32
