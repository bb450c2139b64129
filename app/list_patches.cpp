#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/main_presenter.h"
#include "app/trim_root_backslash.h"

namespace varnock {

// The catalogue: every .ptc file of `folder`, the ones made for the chosen executable's
// version first. The first item is selected, which chooses its patch at once.
void MainPresenter::ListPatches(const std::string& folder, std::int32_t& count) {
  const std::vector<CatalogueEntry> entries =
      BuildCatalogue(folder, Caption(MainLabel::TombVersionNow), state_.Patch, ui_);
  count = static_cast<std::int32_t>(entries.size());
  state_.PatchFolder = TrimRootBackslash(folder);
  if (count > 0) {
    view_.ClearPatchList();
    patchItems_.clear();
    for (const CatalogueEntry& entry : entries) {
      view_.AddPatchItem(entry.fileName);
      patchItems_.push_back(entry.fileName);
    }
    SelectFirstPatch();
  }
  SetCaption(MainLabel::DirSrc, folder);
}

void MainPresenter::SelectFirstPatch() {
  view_.SelectPatchItem(0);
  ChoosePatch();
}

}  // namespace varnock
