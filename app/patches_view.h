#pragma once

#include <cstddef>
#include <string>

#include "app/history_texts.h"

namespace varnock {

// Which of the toolkit's file dialogs asks for a set file.
enum class SetFileDialog { Save, Open };

// The Patches window as its presenter sees it: a virtual list (the view asks the presenter for
// the rows it shows, PatchesPresenter::RowAt), a filter line, the selected row's description, a
// progress line and its buttons. As with the main window, the view is passive: nothing the
// presenter sets here calls back into the presenter; the view calls the presenter's handlers
// for the user's own actions only, and PatchesPresenter::TakeResults when woken.
class PatchesView {
 public:
  virtual ~PatchesView() = default;

  // The visible rows are now `count` others (a new filter, a refresh): the list drops what it
  // showed and asks again. The selection moves to `selected` (-1: none) and the current row
  // is put on it, and it is kept in view; `fromTop`: the list shows the top of its rows
  // first (a new filter), else it stays where it was scrolled.
  virtual void ResetRows(std::size_t count, int selected, bool fromTop) = 0;
  // Visible rows `first` to `last` (inclusive) have new contents (statuses filled in, marks).
  virtual void UpdateRows(std::size_t first, std::size_t last) = 0;
  // The description of the selected row (Text_Description).
  virtual void SetDescription(const std::string& text) = 0;
  // The line under the list: progress while statuses are computed ("Statuses: 1,200 of
  // 20,000"), what the plan will do when they are known, empty when there is nothing to say.
  virtual void SetProgress(const std::string& text) = 0;
  // Whether "Apply changes" has a plan to carry out; the others buttons stay enabled.
  virtual void SetApplyEnabled(bool enabled) = 0;
  // The history check box (Check_History).
  virtual void SetKeepHistory(bool keep) = 0;
  // The languages offered (Combo_Language), and the one chosen.
  virtual void SetLanguages(const std::vector<std::string>& names, std::size_t chosen) = 0;
  // The History window, modally, over this one: its rows in a list that scrolls.
  virtual void ShowHistory(const HistoryListing& listing) = 0;
  // A modal question with Yes and No buttons; true for Yes. No is the default.
  virtual bool Confirm(const std::string& text, const std::string& title) = 0;
  // The path of a set file (".ptcset"), from the toolkit's save or open dialog starting in
  // `folder`; a save dialog asks before an existing file is replaced. Empty when cancelled.
  virtual std::string AskSetPath(SetFileDialog dialog, const std::string& folder) = 0;
  // Callable from any thread: asks the window's thread to call PatchesPresenter::TakeResults
  // soon. A window already closed drops the request (Qt: a queued call to the dialog; Win32:
  // PostMessage to its window).
  virtual void WakeUp() = 0;
  // Closes the window; the presenter has already stopped its work.
  virtual void CloseWindow() = 0;
};

}  // namespace varnock
