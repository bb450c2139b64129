#include "support/list_files.h"

#include "support/paths.h"
#include "support/plain_files.h"

namespace varnock {

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

std::vector<PlainFile> MatchingFiles(const std::string& folder, const std::string& pattern) {
  std::vector<PlainFile> files;
  if (folder.find('\0') != std::string::npos) {
    return files;
  }
  // An empty folder text stands for the root, as folder + separator + pattern does.
  const std::string searched = folder.empty() ? std::string(1, Separator()) : folder;
  for (PlainFile& file : PlainFiles(searched)) {
    if (WildcardMatch(pattern, file.name)) {
      files.push_back(std::move(file));
    }
  }
  return files;
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
  for (const PlainFile& file : MatchingFiles(folder, pattern)) {
    paths.push_back(JoinPath(folder, file.name));
  }
  return paths;
}

std::vector<ListedFile> ListMarkedFiles(const std::string& folder, const std::string& pattern) {
  std::vector<ListedFile> listed;
  for (PlainFile& file : MatchingFiles(folder, pattern)) {
    std::string path = JoinPath(folder, file.name);
    const FileMarker marker = file.marker ? *file.marker : MarkerOf(path);
    listed.push_back({std::move(path), marker});
  }
  return listed;
}

}  // namespace varnock
