#pragma once

#include <string>

#include "app/patches_presenter.h"

namespace varnock {

// The labels of the main window whose captions change while the program runs.
enum class MainLabel {
  NomeExe,             // full path of the chosen target executable
  TombVersionNow,      // version signature of the chosen target executable
  TombVersion,         // version signature the chosen patch was made from
  DirSrc,              // the patch folder
  ApplyPatchTo,        // "Apply patch to following ... program"
  CreatedWithVersion,  // "From ... version"
  CurrentTomb,         // "Current ... version"
};

// The main window as the presenter sees it. The view is passive: nothing the presenter sets
// here calls back into the presenter; where a change of selection or caption has to run a
// handler, the presenter runs it itself. The view calls the presenter's handlers for the
// user's own actions only (a click in the list, a button, the close box), and for one event of
// its own: the window activated again (MainPresenter::WindowActivated), when the user comes
// back from another program that may have changed the files.
class MainWindowView {
 public:
  virtual ~MainWindowView() = default;

  // The patch list (Combo_Patch).
  virtual void ClearPatchList() = 0;
  virtual void AddPatchItem(const std::string& text) = 0;
  // Selects the item at `index`; -1 selects none.
  virtual void SelectPatchItem(int index) = 0;
  // The index of the selected item; -1 when none is selected.
  virtual int SelectedPatchIndex() const = 0;
  // The text of the selected item; empty when none is selected.
  virtual std::string SelectedPatchText() const = 0;

  virtual void SetCaption(MainLabel label, const std::string& text) = 0;
  // Text_Description.
  virtual void SetDescription(const std::string& text) = 0;
  // Label_Dynamic ("Dynamic Patch !").
  virtual void SetDynamicVisible(bool visible) = 0;
  // The status of the selected patch on the chosen executable, one line; empty when there is
  // nothing to tell. A view without the line ignores it.
  virtual void SetStatusLine([[maybe_unused]] const std::string& text) {}

  // What the Patches window changed, once it has closed.
  struct PatchesOutcome {
    bool changedExecutable = false;
    FolderStatus status;  // the folder's status as the window last computed it
  };
  // Shows the Patches window for `request`, modally: a window of the view's toolkit that owns a
  // PatchesPresenter built from `request` and the view's user interface. Returns when it closes.
  virtual PatchesOutcome ShowPatchesWindow([[maybe_unused]] const PatchesRequest& request) {
    return {};
  }

  // Prints `text` as one document on the default printer in the font `fontFace` at
  // `pointSize` points. False with a description of the failure in `error`.
  virtual bool PrintText(const std::string& text, const std::string& fontFace, int pointSize,
                         std::string& error) = 0;

  // Closes the window, which ends the program. The presenter has already run its unload
  // handler; the view does not run it again.
  virtual void CloseWindow() = 0;
};

}  // namespace varnock
