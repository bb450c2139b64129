#include "support/paths.h"

#include <algorithm>

namespace varnock {

namespace {

bool IsSeparator(char c, PathStyle style) {
  return c == Separator(style);
}

// A file name ends a path at the last separator or, Windows style, at a drive colon.
bool EndsFolderPart(char c, PathStyle style) {
  return IsSeparator(c, style) || (style == PathStyle::Windows && c == ':');
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameLetter(char a, char b) {
  return LowerAscii(a) == LowerAscii(b);
}

}  // namespace

char Separator(PathStyle style) {
  return style == PathStyle::Windows ? '\\' : '/';
}

std::string GetFileName(std::string_view path, PathStyle style) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (EndsFolderPart(path[i - 1], style)) {
      return std::string(path.substr(i));
    }
  }
  return std::string(path);
}

std::string GetParentFolder(std::string_view path, PathStyle style) {
  const std::size_t last = path.rfind(Separator(style));
  if (last == std::string_view::npos) {
    return {};
  }
  return std::string(path.substr(0, last));
}

std::string StripExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) {
    return std::string(name);
  }
  return std::string(name.substr(0, dot));
}

std::string GetBaseName(std::string_view path, PathStyle style) {
  return StripExtension(GetFileName(path, style));
}

std::string TrimNulls(std::string_view text) {
  std::string blanked(text);
  std::replace(blanked.begin(), blanked.end(), '\0', ' ');
  const std::size_t first = blanked.find_first_not_of(' ');
  if (first == std::string::npos) {
    return {};
  }
  const std::size_t last = blanked.find_last_not_of(' ');
  return blanked.substr(first, last - first + 1);
}

std::string JoinPath(std::string_view folder, std::string_view name, PathStyle style) {
  std::string joined;
  joined.reserve(folder.size() + 1 + name.size());
  joined.append(folder);
  joined.push_back(Separator(style));
  joined.append(name);
  return joined;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameLetter);
}

bool ContainsIgnoreCase(std::string_view haystack, std::string_view needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(), SameLetter) !=
         haystack.end();
}

}  // namespace varnock
