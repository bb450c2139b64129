#include <string>

#include "app/main_presenter.h"
#include "app/window_texts.h"
#include "support/paths.h"

namespace varnock {

// The path of the patch selected in the list: the patch folder and the item's text.
std::string MainPresenter::GetSelectedPatchPath() {
  if (view_.SelectedPatchIndex() < 0) {
    ui_.ShowMessage(std::string(texts::kNoPatchSelected), MessageIcon::None);
    return {};
  }
  return JoinPath(state_.PatchFolder, view_.SelectedPatchText());
}

}  // namespace varnock
