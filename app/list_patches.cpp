#include <string>
#include <vector>

#include "app/main_presenter.h"
#include "app/trim_root_backslash.h"
#include "app/version_rank.h"
#include "patchfile/load_patch.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/sort_indexes.h"

namespace varnock {

// The catalogue: every .ptc file of `folder`, the ones made for the chosen executable's
// version first. The first item is selected, which chooses its patch at once.
void MainPresenter::ListPatches(const std::string& folder, std::int32_t& count) {
  const std::vector<std::string> files = ListFiles(folder, "*.ptc", count);
  state_.PatchFolder = TrimRootBackslash(folder);
  if (count > 0) {
    const std::string& current = Caption(MainLabel::TombVersionNow);
    std::vector<std::int32_t> ranks;
    for (const std::string& file : files) {
      // A file that does not load is still listed, but ranks last: the record then holds
      // another file's signature.
      const bool loaded = LoadPatch(file, state_.Patch, ui_);
      ranks.push_back(loaded ? VersionRank(current, state_.Patch.ExeVersion) : 0);
    }
    const std::vector<std::int32_t> order = SortIndexes(ranks, count, false);
    view_.ClearPatchList();
    for (std::int32_t index : order) {
      view_.AddPatchItem(GetFileName(files[static_cast<std::size_t>(index)]));
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
