#include "app/folder_status_line.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "app/status_line.h"
#include "engine/catalogue.h"
#include "engine/silent_ui.h"
#include "support/files.h"

namespace varnock {

std::vector<std::string> FolderStatusLine::ListNames(const std::string& folder,
                                                     const std::string& exe,
                                                     const std::string& exeVersion,
                                                     PatchRecord& record) {
  std::vector<std::string> names;
  if (FileExists(exe) && ListFolderStatus(folder, exe, status_, ui_)) {
    names.reserve(status_.entries.size());
    for (const FolderStatusEntry& entry : status_.entries) {
      names.push_back(entry.fileName);
    }
    return names;
  }
  status_ = {};
  for (CatalogueEntry& entry : BuildCatalogue(folder, exeVersion, record, ui_)) {
    names.push_back(std::move(entry.fileName));
  }
  return names;
}

// The line looks without telling: a patch of the folder that does not load has told the user
// when the list was built.
void FolderStatusLine::Refresh(const std::string& folder, const std::string& exe, bool everyPatch) {
  if (waiting_) {
    return;
  }
  std::string text;
  if (view_.SelectedPatchIndex() >= 0 && FileExists(exe)) {
    SilentUi silent;
    const std::string name = view_.SelectedPatchText();
    if (RefreshFolderStatus(status_, folder, exe, everyPatch ? "" : name, silent)) {
      if (const std::optional<std::size_t> index = status_.IndexOf(name)) {
        text = StatusLineText(status_, *index);
      }
    }
  }
  if (text != text_) {
    text_ = text;
    view_.SetStatusLine(text);
  }
}

void FolderStatusLine::RefreshOnActivation(const std::string& folder, const std::string& exe) {
  const bool everyPatch = activated_;
  activated_ = true;
  Refresh(folder, exe, everyPatch);
}

// After a change the status kept before is no longer the file's, even where the markers say
// so; one the window did not finish is computed anew.
void FolderStatusLine::TakeFrom(MainWindowView::PatchesOutcome& outcome) {
  if (outcome.changedExecutable || !outcome.status.entries.empty()) {
    status_ = std::move(outcome.status);
  }
}

}  // namespace varnock
