#include <string>

#include "app/main_presenter.h"
#include "app/trim_root_backslash.h"
#include "app/window_texts.h"
#include "patchfile/bundle_unpack.h"
#include "support/paths.h"

namespace varnock {

namespace {

// The program's own folder, or, when no file can be created there (an installed program),
// the per-user patch folder; the bundle is unpacked there and listed from there.
std::string StartUpPatchFolder(const AppEnvironment& environment) {
  std::string own = GetParentFolder(environment.ownExecutablePath);
  if (!environment.canCreateFilesIn || !environment.userPatchFolder ||
      environment.canCreateFilesIn(own)) {
    return own;
  }
  const std::string user = environment.userPatchFolder();
  return user.empty() ? own : user;
}

}  // namespace

// Start-up: the program-wide state, the bundle unpacked into the patch folder, and the first
// listing. With no patch at all the window is unloaded at once.
void MainPresenter::InitProgram() {
  state_.UnpackedCount = 0;
  state_.UnpackedFiles.clear();
  state_.TargetName = "tomb4";
  state_.EditorFolder = environment_.findInstalledProgram(texts::EditorProgramPath());
  if (!state_.EditorFolder.empty()) {
    state_.EditorFolder = GetParentFolder(state_.EditorFolder);
  }
  // The executable chosen in the last run, while it still exists; else none.
  SetTargetExe(RecalledTarget());
  state_.PatchFolder = TrimRootBackslash(StartUpPatchFolder(environment_));
  UnpackBundle(environment_.ownExecutablePath, state_.PatchFolder, state_.UnpackedFiles,
               state_.UnpackedCount);
  ListPatches(StartPatchFolder(), state_.PatchCount);
  if (state_.PatchCount == 0) {
    ui_.ShowMessage(std::string(texts::kNoPatchFound), MessageIcon::Critical);
    Unload();
    view_.CloseWindow();
  }
}

void MainPresenter::ShowTargetCaptions() {
  SetCaption(MainLabel::ApplyPatchTo, texts::ApplyPatchToCaption(state_.TargetName));
  SetCaption(MainLabel::CreatedWithVersion, texts::CreatedWithVersionCaption(state_.TargetName));
  SetCaption(MainLabel::CurrentTomb, texts::CurrentTombCaption(state_.TargetName));
}

}  // namespace varnock
