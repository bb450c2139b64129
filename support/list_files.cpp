#include "support/list_files.h"

#include <algorithm>
#include <system_error>

#include "support/files.h"
#include "support/paths.h"

namespace varnock {

namespace fs = std::filesystem;

namespace {

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Bytes that continue a UTF-8 character: a "?" matches the whole character, not one byte.
bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t CharacterLength(std::string_view text, std::size_t at) {
  std::size_t end = at + 1;
  while (end < text.size() && IsContinuationByte(text[end])) {
    ++end;
  }
  return end - at;
}

#ifndef _WIN32
// The order in which an NTFS folder lists its names: by their upper-case form, ties by the
// names themselves. Other file systems give no order of their own. The upper-case forms are
// made once, not at each comparison.
void SortAsListed(std::vector<std::string>& names) {
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(names.size());
  for (std::string& name : names) {
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
    keyed.emplace_back(std::move(upper), std::move(name));
  }
  // Texts compare byte by byte as unsigned values, as the upper-case comparison did.
  std::sort(keyed.begin(), keyed.end());
  for (std::size_t i = 0; i < names.size(); ++i) {
    names[i] = std::move(keyed[i].second);
  }
}
#endif

std::vector<std::string> MatchingNames(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  if (folder.find('\0') != std::string::npos) {
    return names;
  }
  // An empty folder text stands for the root, as folder + separator + pattern does.
  const std::string searched = folder.empty() ? std::string(1, Separator()) : folder;
  std::error_code error;
  fs::directory_iterator it(ToFsPath(searched), error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) {
      continue;
    }
    std::string name = FromFsPath(it->path().filename());
    if (WildcardMatch(pattern, name)) {
      names.push_back(std::move(name));
    }
  }
#ifndef _WIN32
  SortAsListed(names);
#endif
  return names;
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starAt = std::string_view::npos;
  std::size_t resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n += CharacterLength(name, n);
    } else if (p < pattern.size() && UpperAscii(pattern[p]) == UpperAscii(name[n])) {
      ++p;
      ++n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      resumeAt += CharacterLength(name, resumeAt);
      n = resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') {
    ++p;
  }
  return p == pattern.size();
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> paths;
  for (const std::string& name : MatchingNames(folder, pattern)) {
    paths.push_back(JoinPath(folder, name));
  }
  return paths;
}

}  // namespace varnock
