#include "bench/scratch_folder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "support/files.h"
#include "support/paths.h"

namespace varnock::bench {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path base = fs::temp_directory_path() / "varnock-bench";
  std::error_code error;
  fs::create_directories(base, error);
  for (int attempt = 0;; ++attempt) {
    // Built by appending, which GCC 12 at -O3 no longer mistakes for an overlapping copy.
    std::string name = "b";
    name += std::to_string(stamp);
    name += '-';
    name += std::to_string(attempt);
    const fs::path candidate = base / name;
    if (fs::create_directory(candidate, error)) {
      path_ = FromFsPath(candidate);
      return;
    }
    if (error) {
      throw std::runtime_error("cannot create a scratch folder under " + base.string() + ": " +
                               error.message());
    }
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  fs::remove_all(ToFsPath(path_), error);
}

std::string ScratchFolder::Write(const std::string& name, const Bytes& content) const {
  const std::string path = JoinPath(path_, name);
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()),
            static_cast<std::streamsize>(content.size()));
  if (!out.flush()) {
    throw std::runtime_error("cannot write " + path);
  }
  return path;
}

}  // namespace varnock::bench
