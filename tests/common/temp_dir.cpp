#include "tests/common/temp_dir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

#include "support/files.h"
#include "support/paths.h"

namespace varnock::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path base = fs::temp_directory_path() / "varnock-tests";
  for (;;) {
    fs::path candidate = base / ("t" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code error;
    fs::create_directories(candidate.parent_path(), error);
    if (fs::create_directory(candidate, error)) {
      path_ = FromFsPath(candidate);
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code error;
  // Read-only files and folders made by fault tests must not stop the clean-up.
  for (auto it = fs::recursive_directory_iterator(ToFsPath(path_), error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  fs::remove_all(ToFsPath(path_), error);
}

std::string TempDir::File(const std::string& name) const {
  return JoinPath(path_, name);
}

std::string TempDir::Write(const std::string& name, const Bytes& content) const {
  const std::string path = File(name);
  std::error_code error;
  fs::create_directories(ToFsPath(path).parent_path(), error);
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()),
            static_cast<std::streamsize>(content.size()));
  return path;
}

std::string TempDir::WriteText(const std::string& name, const std::string& content) const {
  return Write(name, ToBytes(content));
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(ToFsPath(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes ToBytes(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

}  // namespace varnock::testing
