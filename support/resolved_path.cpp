#include "support/resolved_path.h"

#include <filesystem>
#include <system_error>

#include "support/files.h"

namespace varnock {

namespace fs = std::filesystem;

namespace {

// "folder/." normalises to "folder/": folders are passed without a trailing separator.
fs::path WithoutTrailingSeparator(fs::path path) {
  if (!path.has_filename() && path != path.root_path()) {
    path = path.parent_path();
  }
  return path;
}

// The path up to and including its last ".." component, and the components after it.
bool SplitAtLastDotDot(const fs::path& path, fs::path& head, fs::path& tail) {
  bool found = false;
  for (const fs::path& part : path) {
    if (part == "..") {
      found = true;
      head /= tail;
      head /= part;
      tail.clear();
    } else {
      (head.empty() && tail.empty() ? head : tail) /= part;
    }
  }
  return found;
}

}  // namespace

std::string ResolvedPath(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) {
    return path;
  }
  std::error_code error;
  const fs::path absolute = fs::absolute(ToFsPath(path), error);
  if (error) {
    return path;
  }
  fs::path head;
  fs::path tail;
  if (fs::path::preferred_separator == '\\' || !SplitAtLastDotDot(absolute, head, tail)) {
    return FromFsPath(WithoutTrailingSeparator(absolute.lexically_normal()));
  }
  const fs::path resolved = fs::canonical(head, error);
  if (error) {
    return FromFsPath(absolute);
  }
  return FromFsPath(WithoutTrailingSeparator((resolved / tail).lexically_normal()));
}

}  // namespace varnock
