#include <cstdint>
#include <string>

#include "app/main_presenter.h"
#include "app/picker_start.h"
#include "app/remembered_choices.h"
#include "app/trim_root_backslash.h"
#include "app/window_texts.h"
#include "engine/patch_operation.h"
#include "support/files.h"
#include "support/paths.h"

namespace varnock {

void MainPresenter::ApplyClicked() {
  Guarded("apply the patch", [this] { RequestOperation(false); });
}

void MainPresenter::RemoveClicked() {
  Guarded("remove the patch", [this] { RequestOperation(true); });
}

void MainPresenter::ChangePatchFolderClicked() {
  Guarded("change the patch folder", [this] { ChoosePatchFolder(); });
}

void MainPresenter::ChangeTargetClicked() {
  Guarded("change the program to patch", [this] { ChooseTarget(); });
}

bool MainPresenter::RunPicker(const std::string& caption, const std::string& startFolder,
                              bool testFile, const std::string& mask, std::string& pathDir) {
  picker_.SetCaption(caption);
  picker_.ImpostaValori(startFolder, testFile, mask);
  picker_.ShowModal();
  if (!picker_.ExitValue()) {
    return false;
  }
  pathDir = picker_.PathDir();
  return true;
}

// Apply or remove the selected patch on the chosen executable.
void MainPresenter::RequestOperation(bool remove) {
  const std::string path = GetSelectedPatchPath();
  if (path.empty()) {
    return;
  }
  const std::string exe = Caption(MainLabel::NomeExe);
  if (exe.empty()) {
    ui_.ShowMessage(std::string(remove ? texts::kNoTargetToRemove : texts::kNoTargetToApply),
                    MessageIcon::None);
    return;
  }
  RunPatchOperation(path, exe, remove, state_.Patch, ui_);
  RefreshStatusLine();
}

// A new patch folder; one without patches is refused and the catalogue stays as it was.
void MainPresenter::ChoosePatchFolder() {
  std::string folder;
  if (!RunPicker(std::string(texts::kPatchFolderCaption), PatchPickerStart(state_.PatchFolder),
                 false, "*", folder)) {
    return;
  }
  UsePatchFolder(folder);
}

bool MainPresenter::UsePatchFolder(const std::string& folder) {
  std::int32_t found = 0;
  ListFiles(folder, "*.ptc", found);
  if (found == 0) {
    ui_.ShowMessage(std::string(texts::kEmptyPatchFolder), MessageIcon::None);
    return false;
  }
  ListPatches(folder, state_.PatchCount);
  Remember(kRememberedPatchFolder, folder);
  return true;
}

// A new target executable; the list is sorted again for its version.
void MainPresenter::ChooseTarget() {
  std::string exe;
  if (!RunPicker(texts::TargetPickerCaption(state_.TargetName),
                 TargetPickerStart(Caption(MainLabel::NomeExe), state_.EditorFolder,
                                   environment_.currentFolder()),
                 true, state_.TargetName + "*.exe", exe)) {
    return;
  }
  UseTarget(exe);
}

void MainPresenter::UseTarget(const std::string& exe) {
  if (EqualsIgnoreCase(exe, Caption(MainLabel::NomeExe))) {
    return;
  }
  SetTargetExe(exe);
  Remember(kRememberedTarget, exe);
  // A patch folder at the root "/" is empty once trimmed; its listing shows it whole.
  ListPatches(WholeRoot(state_.PatchFolder), state_.PatchCount);
}

}  // namespace varnock
