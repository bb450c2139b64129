#include "picker/picker_paths.h"

#include <cctype>

namespace varnock {

namespace {

bool IsSeparatorOf(char c, PathStyle style) {
  // Windows accepts both separators.
  return c == Separator(style) || (style == PathStyle::Windows && c == '/');
}

bool HasDrivePrefix(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// True when `path` lies inside the folder `root` (the root itself included).
bool Contains(std::string_view root, std::string_view path, PathStyle style) {
  if (style == PathStyle::Windows) {
    return HasDrivePrefix(root) && HasDrivePrefix(path) &&
           std::toupper(static_cast<unsigned char>(root[0])) ==
               std::toupper(static_cast<unsigned char>(path[0]));
  }
  if (root == "/") {
    return !path.empty() && path[0] == '/';
  }
  return path.substr(0, root.size()) == root &&
         (path.size() == root.size() || path[root.size()] == '/');
}

}  // namespace

bool IsRootFolder(std::string_view path, PathStyle style) {
  if (style == PathStyle::Windows) {
    return path.size() == 3 && HasDrivePrefix(path) && IsSeparatorOf(path[2], style);
  }
  return path == "/";
}

std::string CollapseBackslashes(std::string_view text, PathStyle style) {
  const char separator = Separator(style);
  std::string collapsed;
  collapsed.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    collapsed.push_back(text[i]);
    if (text[i] == separator && i + 1 < text.size() && text[i + 1] == separator) {
      ++i;
    }
  }
  return collapsed;
}

std::string JoinChild(std::string_view folder, std::string_view name, PathStyle style) {
  if (!folder.empty() && folder.back() == Separator(style)) {
    return std::string(folder) + std::string(name);
  }
  return JoinPath(folder, name, style);
}

std::optional<FolderParts> SplitFolder(std::string_view path, PathStyle style) {
  FolderParts parts;
  std::size_t at = 0;
  if (style == PathStyle::Windows) {
    if (!HasDrivePrefix(path) || path.size() < 3 || !IsSeparatorOf(path[2], style)) {
      return std::nullopt;
    }
    parts.root =
        std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) +
        ":\\";
    at = 3;
  } else {
    if (path.empty() || path[0] != '/') {
      return std::nullopt;
    }
    parts.root = "/";
    at = 1;
  }
  while (at <= path.size()) {
    std::size_t end = at;
    while (end < path.size() && !IsSeparatorOf(path[end], style)) {
      ++end;
    }
    const std::string_view name = path.substr(at, end - at);
    if (name == "..") {
      if (!parts.names.empty()) {
        parts.names.pop_back();
      }
    } else if (!name.empty() && name != ".") {
      parts.names.emplace_back(name);
    }
    at = end + 1;
  }
  return parts;
}

std::string JoinFolder(const FolderParts& parts, PathStyle style) {
  std::string path = parts.root;
  for (const std::string& name : parts.names) {
    path = JoinChild(path, name, style);
  }
  return path;
}

int DriveIndexOf(std::string_view path, const std::vector<std::string>& drives, PathStyle style) {
  int found = -1;
  std::size_t longest = 0;
  for (std::size_t i = 0; i < drives.size(); ++i) {
    if (Contains(drives[i], path, style) && (found < 0 || drives[i].size() > longest)) {
      found = static_cast<int>(i);
      longest = drives[i].size();
    }
  }
  return found;
}

std::string DriveCaption(std::string_view root, PathStyle style) {
  if (style == PathStyle::Windows && root.size() == 3) {
    return std::string(root.substr(0, 2));
  }
  return std::string(root);
}

bool IsSingleName(std::string_view name, PathStyle style) {
  const std::string_view forbidden = style == PathStyle::Windows ? "\\/:" : "/";
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(forbidden) == std::string_view::npos;
}

}  // namespace varnock
