#include "bench/floors.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "support/safe_rewrite.h"

namespace varnock::bench {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

Bytes ReadOnce(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) {
    return {};
  }
  const long size = std::ftell(file.get());
  if (size <= 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
    return {};
  }
  Bytes content(static_cast<std::size_t>(size));
  if (std::fread(content.data(), 1, content.size(), file.get()) != content.size()) {
    return {};
  }
  return content;
}

std::size_t ScanOnce(const Bytes& image, std::string_view needle) {
  const void* found = ::memmem(image.data(), image.size(), needle.data(), needle.size());
  return found == nullptr
             ? image.size()
             : static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - image.data());
}

bool ReadAndRewrite(const std::string& path) {
  const Bytes content = ReadOnce(path);
  std::string error;
  return !content.empty() && RewriteFile(path, content, error);
}

std::string AbsentPattern(const Bytes& image, std::size_t length) {
  // Runs of letters in a fixed order; the first run that does not occur is taken.
  for (unsigned seed = 0;; ++seed) {
    std::string pattern;
    for (std::size_t i = 0; i < length; ++i) {
      pattern.push_back(static_cast<char>('A' + (seed + i * 7) % 26));
    }
    if (ScanOnce(image, pattern) == image.size()) {
      return pattern;
    }
  }
}

}  // namespace varnock::bench
