#include "app/main_presenter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/trim_root_backslash.h"
#include "app/window_texts.h"
#include "engine/patch_folder_text.h"
#include "engine/patch_operation.h"
#include "engine/patch_status.h"
#include "engine/zone_pipeline.h"
#include "history/history_store.h"
#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "support/translation.h"
#include "target/exe_version.h"
#include "target/target_table.h"

namespace varnock {

namespace {

// The executable `exe` fits the program `targetName` as the window has always matched them: by
// the program's name anywhere in its path.
bool FitsProgram(const std::string& exe, const std::string& targetName) {
  return ContainsIgnoreCase(exe, targetName) && FileExists(exe);
}

// The description prints in the face of its text box, at 10 points.
constexpr const char* kPrintFace = "Courier";
constexpr int kPrintPoints = 10;

}  // namespace

MainPresenter::MainPresenter(MainWindowView& view, FileOrFolderPicker& picker, UserInterface& ui,
                             AppEnvironment environment)
    : view_(view),
      pickers_(picker),
      ui_(ui),
      environment_(std::move(environment)),
      remembered_(environment_.settings),
      history_(environment_.settings,
               environment_.historyFolder ? environment_.historyFolder() : HistoryFolder()),
      captions_(view_),
      runs_(ui_),
      status_(view_, ui_),
      opener_(*this, view_, ui_, state_, remembered_) {}

bool MainPresenter::Load() {
  runs_.Run(Tr("ERROR trying to start the program"), [this] { InitProgram(); });
  if (!unloaded_ && !environment_.openedFiles.empty()) {
    runs_.Run(Tr("ERROR trying to open the files"),
              [this] { opener_.Open(environment_.openedFiles, environment_.currentFolder()); });
  }
  return !unloaded_;
}

void MainPresenter::Unload() {
  if (unloaded_) {
    return;
  }
  unloaded_ = true;
  runs_.Stop();
  pickers_.Unload();
  bundle_.Release(state_.UnpackedFiles);
}

void MainPresenter::CloseClicked() {
  Unload();
  view_.CloseWindow();
}

void MainPresenter::AllPatchesClicked() {
  runs_.Run(Tr("ERROR trying to showing every patch"), [this] { ShowPatches({}); });
}

// The Patches window over the patch folder and the executable shown; with `setPath`, the set
// it names is opened in it.
void MainPresenter::ShowPatches(const std::string& setPath) {
  PatchesRequest request;
  request.folder = state_.PatchFolder;
  request.exePath = Caption(MainLabel::NomeExe);
  request.fileNames = patchItems_;
  request.known = &status_.Known();
  request.settings = environment_.settings;
  request.history = &history_;
  request.chosenFile = view_.SelectedPatchText();
  request.chosenDescription = captions_.Description();
  request.setPath = setPath;
  MainWindowView::PatchesOutcome outcome = view_.ShowPatchesWindow(request);
  status_.TakeFrom(outcome);
  if (outcome.changedExecutable) {
    TargetLabelChanged();  // its signature may have changed with its bytes
  } else {
    RefreshStatusLine();
  }
}

// Start-up: the program-wide state, the bundle unpacked into the patch folder, and the first
// listing. With no patch at all the window is unloaded at once.
void MainPresenter::InitProgram() {
  state_.UnpackedFiles.clear();
  state_.TargetName = "tomb4";
  state_.EditorFolder = environment_.findInstalledProgram(texts::EditorProgramPath());
  if (!state_.EditorFolder.empty()) {
    state_.EditorFolder = GetParentFolder(state_.EditorFolder);
  }
  // The executable chosen in the last run, while it still exists; else none.
  namedExe_ = remembered_.Target();
  SetTargetExe(namedExe_);
  state_.PatchFolder = bundle_.Unpack(environment_, state_.UnpackedFiles);
  ListPatches(remembered_.PatchFolder(WholeRoot(state_.PatchFolder)), state_.PatchCount);
  if (state_.PatchCount == 0) {
    ui_.ShowMessage(TrCrLf(texts::kNoPatchFound), MessageIcon::Critical);
    Unload();
    view_.CloseWindow();
  }
}

// The catalogue: every .ptc file of `folder`, the ones made for the chosen executable's
// version first. The first item is selected, which chooses its patch at once.
void MainPresenter::ListPatches(const std::string& folder, std::int32_t& count) {
  const std::vector<std::string> names = status_.ListNames(
      folder, Caption(MainLabel::NomeExe), Caption(MainLabel::TombVersionNow), state_.Patch);
  count = static_cast<std::int32_t>(names.size());
  state_.PatchFolder = TrimRootBackslash(folder);
  if (count > 0) {
    view_.ClearPatchList();
    patchItems_.clear();
    for (const std::string& name : names) {
      view_.AddPatchItem(name);
    }
    patchItems_ = names;
    SelectFirstPatch();
  } else {
    RefreshStatusLine();
  }
  captions_.Set(MainLabel::DirSrc, folder);
}

void MainPresenter::SelectFirstPatch() {
  view_.SelectPatchItem(0);
  ChoosePatch();
}

void MainPresenter::PatchClicked() {
  runs_.Run(Tr("ERROR trying to choose the patch"), [this] { ChoosePatch(); });
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
    captions_.SetDescription("");
    view_.SetDynamicVisible(false);
    captions_.Set(MainLabel::TombVersion, "");
    SetTargetExe("");
    return;
  }
  state_.TargetName = baseName;
  captions_.ShowTarget(state_.TargetName);
  captions_.SetDescription(state_.Patch.Description);
  captions_.Set(MainLabel::TombVersion, state_.Patch.ExeVersion);
  view_.SetDynamicVisible(state_.Patch.Has(Dynamic));
  if (ContainsIgnoreCase(Caption(MainLabel::NomeExe), state_.TargetName)) {
    RefreshStatusLine();
    return;
  }
  // The executable the user named comes back whenever the patch is for its program.
  if (FitsProgram(namedExe_, state_.TargetName)) {
    SetTargetExe(namedExe_);
    return;
  }
  SetTargetExe("");
  captions_.Set(MainLabel::TombVersionNow, "");
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
  captions_.Set(MainLabel::NomeExe, path);
  TargetLabelChanged();
}

void MainPresenter::TargetLabelChanged() {
  const std::string& exe = Caption(MainLabel::NomeExe);
  if (FileExists(exe)) {
    // A write in place of it that was interrupted is undone before anything is read.
    RestoreExecutable(exe, ui_);
    captions_.Set(MainLabel::TombVersionNow, GetExeVersion(exe, ui_));
  }
  RefreshStatusLine();
}

// The path of the patch selected in the list: the patch folder and the item's text.
std::string MainPresenter::GetSelectedPatchPath() {
  if (view_.SelectedPatchIndex() < 0) {
    ui_.ShowMessage(Tr(texts::kNoPatchSelected), MessageIcon::None);
    return {};
  }
  return JoinPath(state_.PatchFolder, view_.SelectedPatchText());
}

void MainPresenter::ApplyClicked() {
  runs_.Run(Tr("ERROR trying to apply the patch"),
            [this] { RequestOperation(PatchDirection::Apply); });
}

void MainPresenter::RemoveClicked() {
  runs_.Run(Tr("ERROR trying to remove the patch"),
            [this] { RequestOperation(PatchDirection::Remove); });
}

void MainPresenter::ChangePatchFolderClicked() {
  runs_.Run(Tr("ERROR trying to change the patch folder"), [this] { ChoosePatchFolder(); });
}

void MainPresenter::ChangeTargetClicked() {
  runs_.Run(Tr("ERROR trying to change the program to patch"), [this] { ChooseTarget(); });
}

// Apply or remove the selected patch on the chosen executable.
void MainPresenter::RequestOperation(PatchDirection direction) {
  const bool remove = direction == PatchDirection::Remove;
  const std::string path = GetSelectedPatchPath();
  if (path.empty()) {
    return;
  }
  const std::string exe = Caption(MainLabel::NomeExe);
  if (exe.empty()) {
    ui_.ShowMessage(Tr(remove ? texts::kNoTargetToRemove : texts::kNoTargetToApply),
                    MessageIcon::None);
    return;
  }
  // A removal proposes the value the patch was applied with, when it is not the name's.
  const auto applied = remove && GetFileName(path).find('#') != std::string::npos && FileExists(exe)
                           ? AppliedArgument(path, exe)
                           : std::nullopt;
  RunPatchOperation(path, exe, remove, state_.Patch, {.ui = ui_, .history = history_.ForChange()},
                    applied);
  history_.TellFailure(ui_);
  status_.Forget();
  RefreshStatusLine();
}

// A new patch folder; one without patches is refused and the catalogue stays as it was.
void MainPresenter::ChoosePatchFolder() {
  if (const std::optional<std::string> folder = pickers_.PatchFolder(state_.PatchFolder)) {
    UsePatchFolder(*folder);
  }
}

bool MainPresenter::UsePatchFolder(const std::string& folder) {
  if (ListFiles(folder, "*.ptc").empty()) {
    ui_.ShowMessage(texts::EmptyPatchFolderText(folder), MessageIcon::None);
    return false;
  }
  ListPatches(folder, state_.PatchCount);
  remembered_.KeepPatchFolder(folder);
  return true;
}

// A new target executable; the list is sorted again for its version.
void MainPresenter::ChooseTarget() {
  const std::optional<std::string> exe =
      pickers_.Target(state_.TargetName, Caption(MainLabel::NomeExe), state_.EditorFolder,
                      environment_.currentFolder());
  if (exe && !EqualsIgnoreCase(*exe, Caption(MainLabel::NomeExe))) {
    UseTarget(*exe);
    remembered_.KeepTarget(*exe);
  }
}

void MainPresenter::UseTarget(const std::string& exe) {
  if (EqualsIgnoreCase(exe, Caption(MainLabel::NomeExe))) {
    return;
  }
  namedExe_ = exe;
  // The status line waits for the new listing, which computes the statuses with it.
  status_.WaitForListing(true);
  SetTargetExe(exe);
  status_.WaitForListing(false);
  // A patch folder at the root "/" is empty once trimmed; its listing shows it whole.
  ListPatches(WholeRoot(state_.PatchFolder), state_.PatchCount);
}

void MainPresenter::FilesDropped(const std::vector<std::string>& paths) {
  runs_.RunWhenFree(Tr("ERROR trying to open the dropped files"),
                    [this, paths] { opener_.Open(paths, environment_.currentFolder()); });
}

void MainPresenter::NameTargetAgain(const std::string& exe) {
  namedExe_ = exe;
  if (FitsProgram(exe, state_.TargetName)) {
    SetTargetExe(exe);
  }
}

void MainPresenter::PrintClicked() {
  runs_.Run(Tr("ERROR trying to print the description"), [this] { PrintDescription(); });
}

void MainPresenter::PrintDescription() {
  std::string error;
  if (!view_.PrintText(captions_.Description(), kPrintFace, kPrintPoints, error)) {
    ui_.ShowMessage(texts::UnexpectedFailure(Tr("ERROR trying to print the description"), error),
                    MessageIcon::None);
  }
}

// A window is activated again also when a modal box of a running handler closes; that handler
// refreshes the line itself when it needs to.
void MainPresenter::WindowActivated() {
  if (runs_.Running()) {
    return;
  }
  runs_.Run(Tr("ERROR trying to refresh the status"), [this] {
    status_.RefreshOnActivation(state_.PatchFolder, Caption(MainLabel::NomeExe));
  });
}

void MainPresenter::RefreshStatusLine() {
  status_.Refresh(state_.PatchFolder, Caption(MainLabel::NomeExe));
}

}  // namespace varnock
