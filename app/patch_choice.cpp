#include <string>

#include "app/main_presenter.h"
#include "support/files.h"
#include "support/paths.h"
#include "target/exe_version.h"
#include "target/target_table.h"

namespace varnock {

void MainPresenter::PatchClicked() {
  Guarded("choose the patch", [this] { ChoosePatch(); });
}

// A patch chosen in the list: it is loaded and shown, and a target executable that does not
// belong to its program is replaced by the one found in the level editor's folder, if any.
void MainPresenter::ChoosePatch() {
  if (view_.SelectedPatchIndex() < 0) {
    return;
  }
  const std::string path = GetSelectedPatchPath();
  std::string baseName = state_.TargetName;
  std::string relativePath;
  if (!GetPatchTarget(path, state_.Patch, ui_, baseName, relativePath)) {
    SetDescription("");
    view_.SetDynamicVisible(false);
    SetCaption(MainLabel::TombVersion, "");
    SetTargetExe("");
    return;
  }
  state_.TargetName = baseName;
  ShowTargetCaptions();
  SetDescription(state_.Patch.Description);
  SetCaption(MainLabel::TombVersion, state_.Patch.ExeVersion);
  view_.SetDynamicVisible(state_.Patch.Has(Dynamic));
  if (ContainsIgnoreCase(Caption(MainLabel::NomeExe), state_.TargetName)) {
    RefreshStatusLine();
    return;
  }
  SetTargetExe("");
  SetCaption(MainLabel::TombVersionNow, "");
  if (state_.EditorFolder.empty()) {
    return;
  }
  const std::string found = state_.EditorFolder + relativePath;
  if (FileExists(found)) {
    SetTargetExe(found);
  }
}

// Label_NomeExe's caption changes, and its change handler runs at once.
void MainPresenter::SetTargetExe(const std::string& path) {
  SetCaption(MainLabel::NomeExe, path);
  TargetLabelChanged();
}

void MainPresenter::TargetLabelChanged() {
  const std::string& exe = Caption(MainLabel::NomeExe);
  if (FileExists(exe)) {
    SetCaption(MainLabel::TombVersionNow, GetExeVersion(exe, ui_));
  }
  RefreshStatusLine();
}

}  // namespace varnock
