#pragma once

#include <string>

namespace varnock {

// `path` made absolute from the current folder and resolved as the operating system resolves
// it when it opens the file. On POSIX a ".." leaves the folder a symbolic link leads to, not
// the folder that holds the link, so everything up to the last ".." is resolved through the
// file system (links included) and only "." and doubled separators are dropped as text; a
// part up to a ".." that cannot be resolved is kept as it stands, for the open to report.
// Windows folds ".." as text itself, before it follows any link. Folders come without a
// trailing separator, except a root.
std::string ResolvedPath(const std::string& path);

}  // namespace varnock
