#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "support/files.h"
#include "support/plain_files.h"

namespace varnock {

namespace fs = std::filesystem;

namespace {

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The order in which an NTFS folder lists its names: by their upper-case form, ties by the
// names themselves. Other file systems give no order of their own. The upper-case forms are
// made once, not at each comparison.
std::vector<PlainFile> SortAsListed(std::vector<std::string>& names) {
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(names.size());
  for (std::string& name : names) {
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
    keyed.emplace_back(std::move(upper), std::move(name));
  }
  // Texts compare byte by byte as unsigned values, as the upper-case comparison did.
  std::sort(keyed.begin(), keyed.end());
  std::vector<PlainFile> files(keyed.size());
  for (std::size_t i = 0; i < keyed.size(); ++i) {
    files[i].name = std::move(keyed[i].second);
  }
  return files;
}

}  // namespace

// The entries carry no size nor time here: the markers are left to be looked up.
std::vector<PlainFile> PlainFiles(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator it(ToFsPath(folder), error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    // The entry's type comes with the listing here (d_type), a symbolic link's from its target.
    std::error_code typeError;
    if (it->is_regular_file(typeError)) {
      names.push_back(FromFsPath(it->path().filename()));
    }
  }
  return SortAsListed(names);
}

}  // namespace varnock
