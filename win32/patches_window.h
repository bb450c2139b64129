#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <atomic>

#include "app/patches_columns.h"
#include "app/patches_presenter.h"
#include "win32/focus_keeper.h"
#include "win32/fonts.h"
#include "win32/value_look.h"

namespace varnock::win32 {

// The Patches window: a sizeable modal window over the main window with native controls built
// from its design, a virtual list view whose rows the presenter gives as they are drawn, and
// the wiring of the controls' notifications to the presenter it owns.
class PatchesWindow : public PatchesView {
 public:
  PatchesWindow(HWND owner, UserInterface& ui, const PatchesRequest& request);
  ~PatchesWindow() override;
  PatchesWindow(const PatchesWindow&) = delete;
  PatchesWindow& operator=(const PatchesWindow&) = delete;

  // Null when the window could not be made.
  HWND Handle() const { return window_; }
  PatchesPresenter& Presenter() { return presenter_; }
  // Fills the window, shows it over its owner and returns when it has closed.
  void RunModal();

  void ResetRows(std::size_t count, int selected, bool fromTop) override;
  void UpdateRows(std::size_t first, std::size_t last) override;
  void SetDescription(const std::string& text) override;
  void SetProgress(const std::string& text) override;
  void SetApplyEnabled(bool enabled) override;
  void SetKeepHistory(bool keep) override;
  void SetLanguages(const std::vector<std::string>& names, std::size_t chosen) override;
  void ShowHistory(const HistoryListing& listing) override;
  bool Confirm(const std::string& text, const std::string& title) override;
  std::string AskSetPath(SetFileDialog dialog, const std::string& folder) override;
  void WakeUp() override;
  void CloseWindow() override;

  // Every message of the window.
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The list's own keys: Space toggles the mark of the selected row.
  void OnListSpace();
  // The list's moving keys (arrows, Page Up and Down, Home, End), whatever modifier is held:
  // true when `key` is one of them (the selection then moved, unless it could not).
  bool OnListMoveKey(WPARAM key);

 private:
  void CreateControls();
  void SetUpList();
  void PlaceControls(int width, int height);
  ColumnWidths FirstColumns() const;
  void FitColumns();
  void OnCommand(int id, int code);
  void OnEnter();
  LRESULT OnNotify(const NMHDR& header);
  void FillRow(NMLVDISPINFOW& info);
  void OnListClick(const NMITEMACTIVATE& click);
  int SelectedRow() const;
  void OnStatesChanged(int first, int last, UINT oldState, UINT newState);
  void KeepOneSelected(int first, int last);
  // Runs a handler of the presenter; results that arrived meanwhile are taken after it.
  template <typename Handler>
  void Handle(Handler handler);
  HWND Control(int id) const { return GetDlgItem(window_, id); }

  int dpi_;
  WindowFonts fonts_;
  ValueLook look_;
  HIMAGELIST images_ = nullptr;
  HACCEL keys_ = nullptr;
  HWND window_ = nullptr;
  FocusKeeper focus_;
  // The window the computing thread wakes; null once it has gone.
  std::atomic<HWND> wakeTarget_ = nullptr;
  std::atomic<bool> wakePosted_ = false;
  int handling_ = 0;             // presenter handlers running on the window's thread
  bool wokenMeanwhile_ = false;  // woken while one ran
  bool quiet_ = false;           // the window itself moves the selection
  int selectedRow_ = -1;         // as the list's notifications tell it
  std::wstring shownText_;       // the text of the cell the list asked for last
  PatchesPresenter presenter_;
};

}  // namespace varnock::win32
