#pragma once

#include <string>
#include <vector>

#include "app/main_window_view.h"
#include "app/program_state.h"
#include "app/remembered_choices.h"
#include "ui/user_interface.h"

namespace varnock {

// The main window as opened files use it: the steps its buttons take once a picker has
// answered, and what the window has chosen so far.
class OpenerWindow {
 public:
  virtual ~OpenerWindow() = default;

  // The executable chosen (its label's caption), and the one the user named last.
  virtual const std::string& ChosenTarget() const = 0;
  virtual const std::string& NamedTarget() const = 0;
  // `exe` becomes the executable named last again, and is chosen when it fits the program of
  // the chosen patch.
  virtual void NameTargetAgain(const std::string& exe) = 0;
  virtual void UseTarget(const std::string& exe) = 0;
  // False when the folder holds no patch; the user has been told.
  virtual bool UsePatchFolder(const std::string& folder) = 0;
  // The Patches window; with `setPath`, the set it names is opened in it.
  virtual void ShowPatches(const std::string& setPath) = 0;
  // The names in the patch list, and the choice of the patch selected in it.
  virtual const std::vector<std::string>& PatchItems() const = 0;
  virtual void ChoosePatch() = 0;
};

// Files opened with the program or dropped onto its window, taken by the main window: a patch
// is chosen in its folder, an executable is chosen as if picked with Change, a folder becomes
// the patch folder and a set opens the Patches window on its folder with its marks.
class FilesOpener {
 public:
  FilesOpener(OpenerWindow& window, MainWindowView& view, UserInterface& ui,
              const ProgramState& state, RememberedChoices& remembered)
      : window_(window), view_(view), ui_(ui), state_(state), remembered_(remembered) {}

  // Opens `paths` (a relative one is taken from `currentFolder`).
  void Open(const std::vector<std::string>& paths, const std::string& currentFolder);

 private:
  void OpenSetInItsFolder(const std::string& set, bool toldWhy);
  void KeepOrRefuseTarget(const std::string& exe, const std::string& before);
  void OpenPatch(const std::string& patch);
  // Selects and chooses the list item `name`; false when the list has none.
  bool ChooseItem(const std::string& name);

  OpenerWindow& window_;
  MainWindowView& view_;
  UserInterface& ui_;
  const ProgramState& state_;
  RememberedChoices& remembered_;
};

}  // namespace varnock
