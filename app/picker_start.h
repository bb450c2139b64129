#pragma once

#include <string>

#include "support/paths.h"

namespace varnock {

// The pickers open where the user is. The Patch Folder picker opens at the patch folder; a
// drive's root is given whole ("C:\", "/"), as "C:" alone would name the drive's current
// folder.
std::string PatchPickerStart(const std::string& patchFolder, PathStyle style = kNativeStyle);

// The Change picker opens at the folder of the chosen executable; without one, at the level
// editor's folder; without that, at `currentFolder`.
std::string TargetPickerStart(const std::string& chosenExe, const std::string& editorFolder,
                              const std::string& currentFolder, PathStyle style = kNativeStyle);

}  // namespace varnock
