#pragma once

#include <string>
#include <vector>

#include "app/main_window_view.h"
#include "engine/folder_status.h"
#include "patchfile/patch_record.h"
#include "ui/user_interface.h"

namespace varnock {

// The status line of the selected patch on the chosen executable, and the folder's status it
// is told from. The status is kept and computed again only where the files changed on disk:
// the executable, the folder's listing, and the selected patch's file or every patch file.
class FolderStatusLine {
 public:
  FolderStatusLine(MainWindowView& view, UserInterface& ui) : view_(view), ui_(ui) {}

  // The names of the catalogue of `folder` in its order. With the executable `exe` on disk,
  // the folder's status is computed with them, each patch file read once for both; the line
  // then finds it current. Without, the names rank against `exeVersion`, each patch loaded into
  // `record`.
  std::vector<std::string> ListNames(const std::string& folder, const std::string& exe,
                                     const std::string& exeVersion, PatchRecord& record);
  // Shows the line of the selected patch of `folder` on `exe`, looking at every patch file
  // with `everyPatch`, else at the selected one's only.
  void Refresh(const std::string& folder, const std::string& exe, bool everyPatch = false);
  // The window is activated again: the first activation is mostly the window's showing, just
  // after start-up computed every status, and looks at the selected patch's file only (a query
  // a file, thousands of them in a large folder); later ones look at them all.
  void RefreshOnActivation(const std::string& folder, const std::string& exe);
  // While a new executable is being chosen the line waits for the listing that follows, which
  // computes the statuses with it.
  void WaitForListing(bool waiting) { waiting_ = waiting; }
  // The executable was written: its marker may not show a rewrite within the file system's
  // time resolution, so the status is taken again whatever it shows.
  void Forget() { status_ = {}; }
  // What the Patches window computed; taken after a change of the executable, or when the
  // window finished its computation.
  void TakeFrom(MainWindowView::PatchesOutcome& outcome);

  FolderStatus& Known() { return status_; }
  const std::string& Text() const { return text_; }

 private:
  MainWindowView& view_;
  UserInterface& ui_;
  FolderStatus status_;
  std::string text_;
  bool waiting_ = false;
  bool activated_ = false;
};

}  // namespace varnock
