#include "engine/catalogue.h"

#include "engine/version_rank.h"
#include "patchfile/load_patch.h"
#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "support/sort_indexes.h"

namespace varnock {

namespace {

std::vector<ListedFile> Unmarked(std::vector<std::string> paths) {
  std::vector<ListedFile> files(paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    files[i].path = std::move(paths[i]);
  }
  return files;
}

}  // namespace

std::vector<CatalogueEntry> BuildCatalogue(const std::string& folder,
                                           const std::string& currentVersion, PatchRecord& record,
                                           UserInterface& ui, const CatalogueWatch& watch) {
  const CatalogueVisitor& visit = watch.visit;
  // The markers are taken only for a visitor: where the folder's entries do not carry them,
  // each costs a look at the file.
  const std::vector<ListedFile> files =
      visit ? ListMarkedFiles(folder, "*.ptc") : Unmarked(ListFiles(folder, "*.ptc"));
  std::vector<CatalogueEntry> listed;
  std::vector<std::int32_t> ranks;
  listed.reserve(files.size());
  ranks.reserve(files.size());
  std::string sha256;
  for (const ListedFile& file : files) {
    if (watch.stop.stop_requested()) {
      return {};
    }
    // A file that does not load is still listed, but ranks last: the record then holds
    // another file's signature. The listing gave only plain files, so none is looked up again.
    CatalogueEntry entry{GetFileName(file.path), 0, ""};
    const bool loaded = LoadListedPatch(file.path, record, ui, watch.summed ? &sha256 : nullptr);
    if (loaded) {
      entry.exeVersion = record.ExeVersion;
      entry.rank = VersionRank(currentVersion, record.ExeVersion);
    }
    if (visit) {
      visit(file, loaded ? &record : nullptr, sha256);
    }
    ranks.push_back(entry.rank);
    listed.push_back(std::move(entry));
  }
  std::vector<CatalogueEntry> ordered;
  ordered.reserve(listed.size());
  for (std::int32_t index : SortIndexes(ranks)) {
    ordered.push_back(std::move(listed[static_cast<std::size_t>(index)]));
  }
  return ordered;
}

}  // namespace varnock
