#include "app/files_opener.h"

#include <cstddef>

#include "app/opened_files.h"
#include "app/patches_texts.h"
#include "app/trim_root_backslash.h"
#include "app/window_texts.h"
#include "support/paths.h"
#include "support/translation.h"

namespace varnock {

// The executable comes first: its listing would choose the first patch instead of the one
// opened. A set opens the Patches window, with its marks, once the rest is done.
void FilesOpener::Open(const std::vector<std::string>& paths, const std::string& currentFolder) {
  const OpenedFiles opened = SortOpenedFiles(paths, currentFolder, ui_);
  const std::string named = window_.NamedTarget();
  if (!opened.exe.empty()) {
    window_.UseTarget(opened.exe);
  }
  bool toldWhy = false;  // the set's own folder was refused, and the user told why
  if (!opened.patch.empty()) {
    OpenPatch(opened.patch);
  } else if (!opened.folder.empty() || !opened.set.empty()) {
    const std::string& folder = opened.folder;
    toldWhy = !window_.UsePatchFolder(folder.empty() ? GetParentFolder(opened.set) : folder) &&
              folder.empty();
  }
  if (!opened.exe.empty()) {
    KeepOrRefuseTarget(opened.exe, named);
  }
  if (!opened.set.empty()) {
    OpenSetInItsFolder(opened.set, toldWhy);
  }
}

// A set is opened only over its own folder: against another, every patch it names would be
// missing and every patch applied there would be marked to come off.
void FilesOpener::OpenSetInItsFolder(const std::string& set, bool toldWhy) {
  if (state_.PatchFolder == TrimRootBackslash(GetParentFolder(set))) {
    window_.ShowPatches(set);
  } else if (!toldWhy) {
    ui_.ShowMessage(
        SetRefusedText(SetFileDialog::Open,
                       // TRANSLATORS: why a set cannot be opened; %1 is the set file's name, %2 the
                       // patch folder
                       TrFormat("the patches of %1 are not in the patch folder in use, %2",
                                {GetFileName(set), state_.PatchFolder})),
        MessageIcon::None);
  }
}

// An opened executable is kept and remembered when the patch chosen in the end is for its
// program; otherwise the user is told why it was not taken, and the one named before it stays.
void FilesOpener::KeepOrRefuseTarget(const std::string& exe, const std::string& before) {
  if (EqualsIgnoreCase(exe, window_.ChosenTarget())) {
    remembered_.KeepTarget(exe);
    return;
  }
  window_.NameTargetAgain(before);
  ui_.ShowMessage(texts::ProgramNotTaken(exe, view_.SelectedPatchText(), state_.TargetName),
                  MessageIcon::None);
}

// The patch's folder becomes the patch folder, and the patch is chosen in the list.
// A folder already listed (the remembered one, at start-up) is listed again only when the
// patch is not in its list yet.
void FilesOpener::OpenPatch(const std::string& patch) {
  const std::string folder = WholeRoot(GetParentFolder(patch));
  const bool listed = !window_.PatchItems().empty() && folder == WholeRoot(state_.PatchFolder);
  if (listed) {
    remembered_.KeepPatchFolder(folder);
  } else if (!window_.UsePatchFolder(folder)) {
    return;
  }
  if (!ChooseItem(GetFileName(patch)) && listed && window_.UsePatchFolder(folder)) {
    ChooseItem(GetFileName(patch));
  }
}

bool FilesOpener::ChooseItem(const std::string& name) {
  const std::vector<std::string>& items = window_.PatchItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (EqualsIgnoreCase(items[i], name)) {
      if (static_cast<int>(i) != view_.SelectedPatchIndex()) {
        view_.SelectPatchItem(static_cast<int>(i));
        window_.ChoosePatch();
      }
      return true;
    }
  }
  return false;
}

}  // namespace varnock
