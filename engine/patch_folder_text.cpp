#include "engine/patch_folder_text.h"

#include "support/files.h"

namespace varnock::texts {

std::string EmptyPatchFolderText(const std::string& folder) {
  if (PathTooLong(folder)) {
    return "ERROR: " + PathTooLongText(folder) + ": " + folder;
  }
  return "WARNING: in folder you selected there is NO patch";
}

}  // namespace varnock::texts
