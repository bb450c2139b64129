#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/file_marker.h"

namespace varnock {

// Full paths (folder + separator + name) of the files of `folder` whose names match
// `pattern` ("*" and "?", letter case ignored), folders never included. Windows gives the
// folder's own order; elsewhere names come by their upper-case form, as an NTFS folder lists
// them. A missing folder gives none.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern);

// A file as ListFiles lists it, with its marker taken as it was listed, before anything of it
// is read: from the folder's entry where it carries one, else looked up.
struct ListedFile {
  std::string path;
  FileMarker marker;
};

// ListFiles with each file's marker.
std::vector<ListedFile> ListMarkedFiles(const std::string& folder, const std::string& pattern);
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace varnock
