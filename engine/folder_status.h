#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine/patch_conflicts.h"
#include "engine/patch_status.h"
#include "support/file_marker.h"
#include "ui/user_interface.h"

namespace varnock {

// One patch of a folder, as it stands on one executable.
struct FolderStatusEntry {
  std::string fileName;  // without folder
  std::int32_t rank = 0;
  // Its status without the zone by zone report.
  PatchStatus status;
  std::vector<ZoneSpan> spans;  // the bytes it writes there, in disjoint runs
  FileMarker marker;            // the patch file as it was judged
};

// Every patch of a folder on one executable, with the conflicts between them, and the markers
// of what it was computed from, so that it is computed again only where they change.
struct FolderStatus {
  std::string folder;
  std::string exePath;
  std::string exeVersion;
  FileMarker folderMarker;
  FileMarker exeMarker;
  std::vector<FolderStatusEntry> entries;  // in the order of the patch list
  PatchConflicts conflicts;                // by index in `entries`

  // The index of the entry of the patch file named `fileName`.
  std::optional<std::size_t> IndexOf(const std::string& fileName) const;
  // The names of the patches that share a byte with entry `index`, in list order; the first
  // `limit` of them.
  std::vector<std::string> ConflictNames(
      std::size_t index, std::size_t limit = std::numeric_limits<std::size_t>::max()) const;
};

// Every patch of `folder` in the order of the patch list when `exePath` is the chosen
// executable, with its status there and its conflicts. The executable is read once and its
// signature computed once; a patch that does not load is told through `ui` and listed as
// broken. False, after the general failure message, when the executable cannot be read.
bool GetFolderStatus(const std::string& folder, const std::string& exePath, FolderStatus& status,
                     UserInterface& ui);

// Brings `status` up to date for `folder` and `exePath`, computing again only what changed on
// disk since: all of it for another folder or executable, a change of the executable's bytes or
// of the folder's listing; otherwise the patches whose files changed, of the one named
// `fileName` or, when that is empty, of every one. Looking costs file markers only. False as
// GetFolderStatus.
bool RefreshFolderStatus(FolderStatus& status, const std::string& folder,
                         const std::string& exePath, const std::string& fileName,
                         UserInterface& ui);

}  // namespace varnock
