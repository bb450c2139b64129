#include "app/folder_status.h"

#include <unordered_map>

#include "app/catalogue.h"
#include "engine/patch_conflicts.h"
#include "engine/zone_pipeline.h"
#include "support/paths.h"
#include "target/exe_version.h"

namespace varnock {

namespace {

void AddConflicts(std::vector<FolderStatusEntry>& entries) {
  std::vector<std::vector<ZoneSpan>> spans;
  spans.reserve(entries.size());
  for (const FolderStatusEntry& entry : entries) {
    spans.push_back(WrittenSpans(entry.status));
  }
  for (const Conflict& conflict : FindConflicts(spans)) {
    entries[conflict.first].conflicts.push_back(entries[conflict.second].fileName);
    entries[conflict.second].conflicts.push_back(entries[conflict.first].fileName);
  }
}

}  // namespace

bool GetFolderStatus(const std::string& folder, const std::string& exePath,
                     std::vector<FolderStatusEntry>& entries, UserInterface& ui) {
  Bytes image;
  if (!ReadExecutableImage(exePath, image, ui)) {
    return false;
  }
  std::string exeVersion = GetExeVersion(exePath, ui);
  std::unordered_map<std::string, PatchStatus> statuses;
  const auto visit = [&](const std::string& path, const PatchRecord* record) {
    statuses[GetFileName(path)] =
        record == nullptr ? PatchStatus{}
                          : StatusOfPatch(path, std::nullopt, *record, image, exePath, exeVersion);
  };
  PatchRecord record;
  entries.clear();
  for (CatalogueEntry& listed : BuildCatalogue(folder, exeVersion, record, ui, visit)) {
    entries.push_back({std::move(listed.fileName), listed.rank, {}, {}});
    entries.back().status = std::move(statuses[entries.back().fileName]);
  }
  AddConflicts(entries);
  return true;
}

const FolderStatusEntry* FindEntry(const std::vector<FolderStatusEntry>& entries,
                                   const std::string& fileName) {
  for (const FolderStatusEntry& entry : entries) {
    if (entry.fileName == fileName) {
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace varnock
