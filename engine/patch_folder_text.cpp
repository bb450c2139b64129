#include "engine/patch_folder_text.h"

#include "support/files.h"
#include "support/translation.h"

namespace varnock::texts {

std::string EmptyPatchFolderText(const std::string& folder) {
  if (PathTooLong(folder)) {
    // TRANSLATORS: %1 says why the path cannot be opened, %2 is the path.
    return TrFormat("ERROR: %1: %2", {PathTooLongText(folder), folder});
  }
  return Tr("WARNING: in folder you selected there is NO patch");
}

}  // namespace varnock::texts
