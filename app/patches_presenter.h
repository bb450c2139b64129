#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/patches_view.h"
#include "app/settings_store.h"
#include "engine/folder_status.h"
#include "ui/user_interface.h"

namespace varnock {

class HistoryKeeping;

// What the main window hands the Patches window when it opens it.
struct PatchesRequest {
  std::string folder;   // the patch folder
  std::string exePath;  // the chosen executable; empty when none is chosen
  // The patch file names in the main list's order (rank, then the list's order).
  std::vector<std::string> fileNames;
  // The main window's folder status, when it has one: reused where the files did not change.
  const FolderStatus* known = nullptr;
  // Where the history setting is kept; null keeps it for this run only.
  SettingsStore* settings = nullptr;
  // The main window's history keeping, shared so that the warning that no history could be
  // kept is shown once in a run; null: the window keeps its own, from `settings`.
  HistoryKeeping* history = nullptr;
  // The patch chosen in the main window and the description it shows: the row selected when
  // the window opens, so that what the user saw chosen is what the keys act on.
  std::string chosenFile;
  std::string chosenDescription;
  // A set file to open once the statuses are known, as "Open set…" does; empty for none.
  std::string setPath;
};

// How a row's status looks: one icon or colour per group, so that the groups are told apart
// without reading the word.
enum class StatusGroup {
  Pending,     // not computed yet
  Applied,     // applied
  NotApplied,  // not applied
  Unfit,       // partly applied, or does not fit this file
  Elsewhere,   // made for another build or another program
  Broken,      // the patch does not load, or its argument cannot be written
};

// One row as the list shows it.
struct PatchRow {
  bool checked = false;  // what the executable should hold
  std::string fileName;  // without folder
  std::string status;    // the status word a person reads ("not applied"); "…" while pending
  StatusGroup group = StatusGroup::Pending;
  std::string conflicts;  // "A.ptc, B.ptc and 3 others"; empty when none
  std::string argument;   // the argument read back, when there is one
  bool dynamic = false;   // shown as "Dynamic"
};

// Which patches "Apply changes" removes and applies, as positions in the list (all rows, not
// only the visible ones): the removals in reverse list order, then the applications in list
// order.
struct PatchesPlan {
  std::vector<std::size_t> removals;
  std::vector<std::size_t> applications;
  bool Empty() const { return removals.empty() && applications.empty(); }
};

// The Patches window's behaviour, free of any toolkit: the rows, the filter, the marks, the
// plan, and the work that computes statuses off the window's thread. Owned by the window; its
// destructor stops that work and waits for it.
class PatchesPresenter {
 public:
  PatchesPresenter(PatchesView& view, UserInterface& ui, PatchesRequest request);
  ~PatchesPresenter();
  PatchesPresenter(const PatchesPresenter&) = delete;
  PatchesPresenter& operator=(const PatchesPresenter&) = delete;

  // Window load: every row at once, marks and statuses as known, the computation of the rest
  // started.
  void Open();
  // On the window's thread, when the view was woken: takes what the computation produced.
  void TakeResults();

  // The list, as the virtual list view asks for it.
  std::size_t VisibleCount() const;
  PatchRow RowAt(std::size_t visible) const;

  void FilterChanged(const std::string& text);  // Text_Filter, at each keystroke
  void RowSelected(int visible);                // -1: none
  void MarkToggled(std::size_t visible);        // Space, Enter, a click on the check box
  void ApplyChangesClicked();                   // Pul_ApplyChanges
  void RefreshClicked();                        // Pul_Refresh, F5
  void RestoreClicked();                        // Pul_Restore
  void UndoClicked();                           // Pul_Undo
  void HistoryClicked();                        // Pul_History
  void SaveSetClicked();                        // Pul_SaveSet
  void OpenSetClicked();                        // Pul_OpenSet
  void KeepHistoryToggled(bool keep);           // Check_History
  void LanguageChosen(std::size_t option);      // Combo_Language
  void CloseClicked();                          // Pul_Close, Escape, the close box

  // What "Apply changes" would do now.
  PatchesPlan Plan() const;
  // True once the window changed the executable: the main window refreshes what it shows.
  bool ChangedExecutable() const;
  // The folder status as last computed, for the main window to keep.
  const FolderStatus& Status() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace varnock
