#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/paths.h"

namespace varnock {

// A folder path taken apart: its root ("C:\" or "/") and the folder names below it.
struct FolderParts {
  std::string root;
  std::vector<std::string> names;
};

// True for a drive root: "C:\" (Windows style) or "/" (POSIX style).
bool IsRootFolder(std::string_view path, PathStyle style);

// Every doubled separator made single, in one left-to-right pass over non-overlapping
// occurrences (three separators in a row become two).
std::string CollapseBackslashes(std::string_view text, PathStyle style);

// `folder` and `name` joined by one separator; a root already ends in one.
std::string JoinChild(std::string_view folder, std::string_view name, PathStyle style);

// The parts of an absolute folder path with "." and ".." resolved; std::nullopt when the path
// has no root (relative, or Windows style without a drive).
std::optional<FolderParts> SplitFolder(std::string_view path, PathStyle style);
// The path of the parts: the root, then the names joined by separators.
std::string JoinFolder(const FolderParts& parts, PathStyle style);

// The index in `drives` of the drive holding `path` (the longest root that contains it);
// -1 when none does. Windows letters compare without regard to case.
int DriveIndexOf(std::string_view path, const std::vector<std::string>& drives, PathStyle style);

// True for a name that names one entry inside a folder: no separator (Windows style also no
// drive colon), and neither "." nor "..". An empty name is no single name.
bool IsSingleName(std::string_view name, PathStyle style);

// The text shown for a drive: Windows "C:", POSIX the mount point.
std::string DriveCaption(std::string_view root, PathStyle style);

}  // namespace varnock
