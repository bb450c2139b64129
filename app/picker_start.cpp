#include "app/picker_start.h"

#include "app/trim_root_backslash.h"

namespace varnock {

std::string PatchPickerStart(const std::string& patchFolder, PathStyle style) {
  if (style == PathStyle::Windows && patchFolder.size() == 2 && patchFolder[1] == ':') {
    return patchFolder + Separator(style);
  }
  return WholeRoot(patchFolder, style);
}

std::string TargetPickerStart(const std::string& chosenExe, const std::string& editorFolder,
                              const std::string& currentFolder, PathStyle style) {
  if (!chosenExe.empty()) {
    return PatchPickerStart(GetParentFolder(chosenExe, style), style);
  }
  return editorFolder.empty() ? currentFolder : editorFolder;
}

}  // namespace varnock
