#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "app/main_window_view.h"
#include "win32/focus_keeper.h"
#include "win32/fonts.h"
#include "win32/value_look.h"

namespace varnock {
class MainPresenter;
}

namespace varnock::win32 {

// The main window (Principale): native controls built from the window's design, and the wiring
// of their notifications to the main presenter.
class MainWindow : public MainWindowView {
 public:
  MainWindow();
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
  void SetStatusLine(const std::string& text) override;
  PatchesOutcome ShowPatchesWindow(const PatchesRequest& request) override;
  bool PrintText(const std::string& text, const std::string& fontFace, int pointSize,
                 std::string& error) override;
  void CloseWindow() override;

  // Every message of the window.
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void CreateControls();
  void AddToolTips();
  void SetToolTip(HWND control, const std::string& text) const;
  void FitComboHeight();
  void OnCommand(int id, int code);
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
  HWND toolTips_ = nullptr;
  HWND combo_ = nullptr;  // Combo_Patch
  FocusKeeper focus_;
  bool filling_ = false;  // the patch list is filled and not drawn until an item is selected
};

}  // namespace varnock::win32
