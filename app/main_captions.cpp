#include "app/main_captions.h"

#include "app/window_texts.h"

namespace varnock {

void MainCaptions::Set(MainLabel label, const std::string& text) {
  captions_[Index(label)] = text;
  view_.SetCaption(label, text);
}

void MainCaptions::ShowTarget(const std::string& targetName) {
  Set(MainLabel::ApplyPatchTo, texts::ApplyPatchToCaption(targetName));
  Set(MainLabel::CreatedWithVersion, texts::CreatedWithVersionCaption(targetName));
  Set(MainLabel::CurrentTomb, texts::CurrentTombCaption(targetName));
}

void MainCaptions::SetDescription(const std::string& text) {
  description_ = text;
  view_.SetDescription(text);
}

}  // namespace varnock
