#include "tests/common/temp_dir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>
#ifndef _WIN32
#include <unistd.h>

#include <cstdlib>
#endif

#include "support/files.h"

namespace varnock::testing {

bool TempDirsInMemory() {
#ifdef _WIN32
  return false;
#else
  if (::access("/dev/shm", W_OK) != 0) {
    return false;
  }
  ::setenv("TMPDIR", "/dev/shm", 1);
  return true;
#endif
}

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path base = fs::temp_directory_path() / "varnock-tests";
  std::error_code error;
  fs::create_directories(base, error);
  do {
    path_ = FromFsPath(base / ("t" + std::to_string(stamp) + "-" + std::to_string(counter++)));
  } while (!fs::create_directory(ToFsPath(path_), error));
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

std::string TempDir::Write(const std::string& name, const Bytes& content) const {
  const std::string path = File(name);
  std::error_code error;
  fs::create_directories(ToFsPath(path).parent_path(), error);
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()),
            static_cast<std::streamsize>(content.size()));
  return path;
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(ToFsPath(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace varnock::testing
