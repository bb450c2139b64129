#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "patchfile/patch_record.h"
#include "support/list_files.h"
#include "ui/user_interface.h"

namespace varnock {

// One line of the patch list.
struct CatalogueEntry {
  std::string fileName;    // the .ptc file's name, without folder
  std::int32_t rank = 0;   // how well its version fits the chosen executable's (VersionRank)
  std::string exeVersion;  // the version it was made from; empty when it failed to load
};

// Sees each file as it is loaded: its full path and its marker as it was listed (before it was
// read), its record (nullptr when it failed) and, when the catalogue was asked to sum the files,
// the SHA-256 of the bytes it was loaded from (else empty).
using CatalogueVisitor = std::function<void(const ListedFile& file, const PatchRecord* record,
                                            const std::string& sha256)>;

// Who looks at the files as the catalogue loads them: `visit` sees every file in listing order,
// with its sum when `summed`; a stop requested through `stop` ends the loading at the next
// file, with no entry at all.
struct CatalogueWatch {
  CatalogueVisitor visit = {};
  std::stop_token stop = {};
  bool summed = false;
};

// Every .ptc file of `folder`, loaded in listing order (each load replaces `record`; a file
// that fails to load has told the user why, is still listed and ranks 0) and ranked against
// `currentVersion`, in the order the patch list shows them: the exchange sort of the ranks,
// highest first; `watch` sees the files as they are loaded.
std::vector<CatalogueEntry> BuildCatalogue(const std::string& folder,
                                           const std::string& currentVersion, PatchRecord& record,
                                           UserInterface& ui, const CatalogueWatch& watch = {});

}  // namespace varnock
