#include "app/trim_root_backslash.h"

namespace varnock {

std::string TrimRootBackslash(std::string_view path, PathStyle style) {
  if (style == PathStyle::Posix) {
    return path == "/" ? std::string() : std::string(path);
  }
  std::string trimmed(path);
  if (trimmed.size() > 3) {
    return trimmed;
  }
  // Three characters hold at most one ":\".
  if (const std::size_t at = trimmed.find(":\\"); at != std::string::npos) {
    trimmed.erase(at + 1, 1);
  }
  return trimmed;
}

std::string WholeRoot(std::string_view folder, PathStyle style) {
  if (style == PathStyle::Posix && folder.empty()) {
    return std::string(1, Separator(style));
  }
  return std::string(folder);
}

}  // namespace varnock
