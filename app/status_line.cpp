#include "app/status_line.h"

#include "app/main_presenter.h"
#include "engine/silent_ui.h"
#include "support/files.h"

namespace varnock {

std::string StatusLineText(const FolderStatusEntry& entry) {
  std::string text = std::string("Status: ") + StateWord(entry.status.state);
  if (entry.status.argument) {
    text += " with argument " + *entry.status.argument;
  }
  for (std::size_t i = 0; i < entry.conflicts.size(); ++i) {
    text += (i == 0 ? " \u2014 conflicts with " : ", ") + entry.conflicts[i];
  }
  return text;
}

// The line looks without telling: a patch of the folder that does not load has told the user
// when the list was built.
void MainPresenter::RefreshStatusLine() {
  std::string text;
  const std::string& exe = Caption(MainLabel::NomeExe);
  if (view_.SelectedPatchIndex() >= 0 && FileExists(exe)) {
    SilentUi silent;
    std::vector<FolderStatusEntry> entries;
    if (GetFolderStatus(state_.PatchFolder, exe, entries, silent)) {
      if (const FolderStatusEntry* entry = FindEntry(entries, view_.SelectedPatchText())) {
        text = StatusLineText(*entry);
      }
    }
  }
  statusLine_ = text;
  view_.SetStatusLine(text);
}

}  // namespace varnock
