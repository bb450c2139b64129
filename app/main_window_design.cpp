#include "app/main_window_design.h"

namespace varnock {

std::string_view ControlNameOf(MainLabel label) {
  switch (label) {
    case MainLabel::NomeExe:
      return "Label_NomeExe";
    case MainLabel::TombVersionNow:
      return "Label_TombVersionNow";
    case MainLabel::TombVersion:
      return "Label_TombVersion";
    case MainLabel::DirSrc:
      return "Label_DirSrc";
    case MainLabel::ApplyPatchTo:
      return "Label_ApplyPatchTo";
    case MainLabel::CreatedWithVersion:
      return "Label_CreatedWithVersion";
    case MainLabel::CurrentTomb:
      return "Label_CurrentTomb";
  }
  return {};
}

}  // namespace varnock
