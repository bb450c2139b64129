#include <filesystem>
#include <system_error>

#include "picker/drives.h"
#include "picker/mount_points.h"
#include "support/files.h"
#include "support/read_to_end.h"

namespace varnock {

std::vector<std::string> ListDrives() {
  // The table reports a size of 0: it is read until its end.
  Bytes table;
  std::string error;
  ReadToEnd("/proc/self/mounts", table, error);
  std::vector<std::string> drives;
  for (const std::string& point : ParseMountPoints(std::string(table.begin(), table.end()))) {
    // A file bound over another (as containers do with /etc/hosts) is no drive.
    if (FolderExists(point)) {
      drives.push_back(point);
    }
  }
  if (drives.empty() || drives.front() != "/") {
    drives.insert(drives.begin(), "/");
  }
  return drives;
}

bool DriveIsReady(const std::string& root) {
  std::error_code error;
  std::filesystem::directory_iterator it(ToFsPath(root), error);
  return !error;
}

}  // namespace varnock
