#include "support/file_marker.h"

#include <filesystem>
#include <system_error>

#include "support/files.h"

namespace varnock {

FileMarker MarkerOf(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path at = ToFsPath(path);
  const fs::file_status status = fs::status(at, error);
  FileMarker marker;
  if (error || !fs::exists(status)) {
    return marker;
  }
  marker.exists = true;
  if (fs::is_regular_file(status)) {
    marker.size = fs::file_size(at, error);
  }
  const fs::file_time_type changed = fs::last_write_time(at, error);
  marker.changed = error ? 0 : static_cast<std::int64_t>(changed.time_since_epoch().count());
  return marker;
}

}  // namespace varnock
