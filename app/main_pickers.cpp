#include "app/main_pickers.h"

#include "app/picker_start.h"
#include "app/window_texts.h"
#include "support/translation.h"

namespace varnock {

std::optional<std::string> MainPickers::PatchFolder(const std::string& patchFolder) {
  return Run(Tr(texts::kPatchFolderCaption), PatchPickerStart(patchFolder), false, "*");
}

std::optional<std::string> MainPickers::Target(const std::string& targetName,
                                               const std::string& chosenExe,
                                               const std::string& editorFolder,
                                               const std::string& currentFolder) {
  return Run(texts::TargetPickerCaption(targetName),
             TargetPickerStart(chosenExe, editorFolder, currentFolder), true, targetName + "*.exe");
}

std::optional<std::string> MainPickers::Run(const std::string& caption,
                                            const std::string& startFolder, bool testFile,
                                            const std::string& mask) {
  picker_.SetCaption(caption);
  picker_.ImpostaValori(startFolder, testFile, mask);
  picker_.ShowModal();
  if (!picker_.ExitValue()) {
    return std::nullopt;
  }
  return picker_.PathDir();
}

}  // namespace varnock
