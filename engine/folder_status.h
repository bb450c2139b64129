#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <stop_token>
#include <string>
#include <unordered_map>
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
  std::string description;      // the patch's description; empty when it does not load
  bool dynamic = false;         // the patch has the Dynamic flag
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

// How a computation of a folder's status hands over its entries while it runs (for a window
// that shows them as they come), and learns that it is to stop.
struct StatusDelivery {
  // Entries judged, by `chunk` at a time and the rest at the end, in the order they were
  // judged: the folder's listing order, not the list's. The conflicts come with the whole
  // status only.
  std::function<void(std::vector<FolderStatusEntry>&&)> judged;
  std::size_t chunk = 256;
  // A stop requested ends the computation at the next patch; it then returns false.
  std::stop_token stop;
};

// A patch file as a computation of the status loaded it, kept for an operation that follows.
struct LoadedPatch {
  PatchRecord record;
  std::string sha256;  // of the bytes it was loaded from
};

// What a computation of the status keeps of what it read, for an operation that follows it
// and would otherwise read it all again. Every patch file is summed as it loads.
struct StatusKeep {
  // Picks, by file name, patches kept whatever their state; those applied are kept anyway.
  std::function<bool(const std::string& fileName)> named;
  std::string exeSha256;  // of the executable's image as it was judged
  std::unordered_map<std::string, LoadedPatch> patches;  // by file name, those that loaded
};

// Every patch of `folder` in the order of the patch list when `exePath` is the chosen
// executable, with its status there and its conflicts. The executable is read once and its
// signature computed once; a patch that does not load is told through `ui` and listed as
// broken. False, after the general failure message, when the executable cannot be read.
// `keep`, when given, receives what the computation read of the executable and the patches.
bool GetFolderStatus(const std::string& folder, const std::string& exePath, FolderStatus& status,
                     UserInterface& ui, const StatusDelivery* delivery = nullptr,
                     StatusKeep* keep = nullptr);

// As GetFolderStatus, for a new listing of the folder: a patch that does not load is told
// through `ui`, as the listing tells it, while an executable that cannot be read is not (the
// status line says it). Each patch file is read once, for its place in the list and its status.
bool ListFolderStatus(const std::string& folder, const std::string& exePath, FolderStatus& status,
                      UserInterface& ui);

// Brings `status` up to date for `folder` and `exePath`, computing again only what changed on
// disk since: all of it for another folder or executable, a change of the executable's bytes or
// of the folder's listing; otherwise the patches whose files changed, of the one named
// `fileName` or, when that is empty, of every one. Looking costs file markers only. False as
// GetFolderStatus. `delivery` is handed the entries that stand first, then those judged again.
bool RefreshFolderStatus(FolderStatus& status, const std::string& folder,
                         const std::string& exePath, const std::string& fileName, UserInterface& ui,
                         const StatusDelivery* delivery = nullptr);

}  // namespace varnock
