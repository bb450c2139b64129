#pragma once

#include <string>
#include <vector>

#include "app/app_environment.h"
#include "app/files_opener.h"
#include "app/folder_status_line.h"
#include "app/handler_runs.h"
#include "app/history_keeping.h"
#include "app/main_captions.h"
#include "app/main_pickers.h"
#include "app/main_window_view.h"
#include "app/program_state.h"
#include "app/remembered_choices.h"
#include "app/start_up_bundle.h"
#include "engine/patch_operation.h"
#include "picker/file_or_folder_picker.h"
#include "ui/user_interface.h"

namespace varnock {

// The main window's behaviour, free of any toolkit: it owns the program-wide state and holds
// every event handler. A view calls the handler of each user action; the presenter answers
// through the view and the user interface, and runs nested handlers itself where a change it
// makes (a list selection, the target executable's caption) must run one at once.
class MainPresenter : private OpenerWindow {
 public:
  MainPresenter(MainWindowView& view, FileOrFolderPicker& picker, UserInterface& ui,
                AppEnvironment environment);

  // Window load: start-up. False when start-up has unloaded the window (no patch found): the
  // window is not to be shown and the program ends.
  bool Load();
  // Window unload (Close button, close box, start-up's fatal path): closes the picker if it is
  // shown and deletes the files the bundle unpacking created. Runs once; later calls do nothing.
  void Unload();

  void PatchClicked();              // Combo_Patch click
  void ApplyClicked();              // Pul_ApplyPatch
  void RemoveClicked();             // Pul_RemovePatch
  void ChangePatchFolderClicked();  // Pul_ChangeDirSrc
  void ChangeTargetClicked();       // Pul_ChangeTomb
  void PrintClicked();              // Pul_StampaDescription
  void CloseClicked();              // Pul_Cancel
  void AllPatchesClicked();         // Pul_AllPatches: the Patches window, modally
  // The window is activated again (the user comes back from another program): the status line
  // is checked against the executable and the patch folder as they are now on disk.
  void WindowActivated();
  // Files dropped onto the window: a .ptc file is opened as a patch (its folder becomes the
  // patch folder and it is chosen), an executable is chosen as if picked with Change, a set
  // (.ptcset) opens the Patches window on its folder with its marks.
  void FilesDropped(const std::vector<std::string>& paths);

  const ProgramState& State() const { return state_; }
  // The caption the presenter last gave a label, and the description shown.
  const std::string& Caption(MainLabel label) const { return captions_.Of(label); }
  const std::string& Description() const { return captions_.Description(); }
  const std::string& StatusLine() const { return status_.Text(); }

 private:
  // Start-up and the catalogue.
  void InitProgram();
  void ListPatches(const std::string& folder, std::int32_t& count);
  std::string GetSelectedPatchPath();

  // Handlers as other handlers run them, nested.
  void ChoosePatch() override;
  void TargetLabelChanged();
  void RequestOperation(PatchDirection direction);
  void ChoosePatchFolder();
  void ChooseTarget();
  void PrintDescription();

  // Changes that run a handler at once.
  void SelectFirstPatch();
  void SetTargetExe(const std::string& path);

  // The steps a button takes once its picker has answered; opened and dropped files take them
  // too.
  bool UsePatchFolder(const std::string& folder) override;
  void UseTarget(const std::string& exe) override;
  void ShowPatches(const std::string& setPath) override;
  void NameTargetAgain(const std::string& exe) override;
  const std::string& ChosenTarget() const override { return Caption(MainLabel::NomeExe); }
  const std::string& NamedTarget() const override { return namedExe_; }
  const std::vector<std::string>& PatchItems() const override { return patchItems_; }

  // The status line of the selected patch on the chosen executable, as it is on disk now.
  void RefreshStatusLine();

  MainWindowView& view_;
  MainPickers pickers_;
  UserInterface& ui_;
  AppEnvironment environment_;
  RememberedChoices remembered_;
  ProgramState state_;
  // The names in the patch list, as the last listing gave them.
  std::vector<std::string> patchItems_;
  // The executable the user named last (opened, dropped, picked or remembered): it is chosen
  // again whenever the chosen patch is for its program.
  std::string namedExe_;
  // Shared with the Patches window: one warning in a run when no history could be kept.
  HistoryKeeping history_;
  MainCaptions captions_;
  HandlerRuns runs_;
  FolderStatusLine status_;
  FilesOpener opener_;
  bool unloaded_ = false;
  StartUpBundle bundle_;
};

}  // namespace varnock
