#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/patch_status.h"
#include "support/user_interface.h"

namespace varnock {

// One patch of a folder, as it stands on one executable.
struct FolderStatusEntry {
  std::string fileName;  // without folder
  std::int32_t rank = 0;
  PatchStatus status;
  std::vector<std::string> conflicts;  // the other patches whose zones share a byte with its own
};

// Every patch of `folder` in the order of the patch list when `exePath` is the chosen
// executable, with its status there and its conflicts. The executable is read once and its
// signature computed once; a patch that does not load is told through `ui` and listed as
// broken. False, after the general failure message, when the executable cannot be read.
bool GetFolderStatus(const std::string& folder, const std::string& exePath,
                     std::vector<FolderStatusEntry>& entries, UserInterface& ui);

// The entry of the patch file named `fileName`; nullptr when there is none.
const FolderStatusEntry* FindEntry(const std::vector<FolderStatusEntry>& entries,
                                   const std::string& fileName);

}  // namespace varnock
