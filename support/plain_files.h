#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/file_marker.h"

namespace varnock {

// A plain file as its folder lists it: its name and, where the folder's entry carries it
// (Windows), its marker as MarkerOf would give it.
struct PlainFile {
  std::string name;
  std::optional<FileMarker> marker;
};

// The plain files of `folder` (never its folders), read from the folder's own entries without
// looking at each file again: Windows gives the folder's order; elsewhere the names come by
// their upper-case form, as an NTFS folder lists them. None when the folder cannot be read.
std::vector<PlainFile> PlainFiles(const std::string& folder);

}  // namespace varnock
