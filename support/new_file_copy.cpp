#include <algorithm>
#include <fstream>
#include <vector>

#include "support/files.h"
#include "support/new_file_copy.h"

namespace varnock {

// True when the file at `path` holds at least one byte and is `source` or the start of it.
bool HoldsStartOf(const std::string& path, const std::string& source) {
  std::ifstream copy(ToFsPath(path), std::ios::binary);
  std::ifstream original(ToFsPath(source), std::ios::binary);
  std::vector<char> a(1 << 16);
  std::vector<char> b(1 << 16);
  std::streamsize total = 0;
  while (copy && original) {
    copy.read(a.data(), static_cast<std::streamsize>(a.size()));
    const std::streamsize got = copy.gcount();
    original.read(b.data(), got);
    if (original.gcount() != got || !std::equal(a.begin(), a.begin() + got, b.begin())) {
      return false;
    }
    total += got;
  }
  return total > 0 && copy.eof();
}

}  // namespace varnock
