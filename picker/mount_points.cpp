#include "picker/mount_points.h"

#include <algorithm>
#include <array>
#include <sstream>

namespace varnock {

namespace {

// Undoes the table's octal escapes ("\040" for a blank).
std::string Unescape(const std::string& field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const bool octal = field[i] == '\\' && i + 3 < field.size() &&
                       std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                   field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                                   [](char c) { return c >= '0' && c <= '7'; });
    if (octal) {
      text.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                       (field[i + 3] - '0')));
      i += 3;
    } else {
      text.push_back(field[i]);
    }
  }
  return text;
}

bool IsNetworkType(std::string_view type) {
  static constexpr std::array<std::string_view, 8> kTypes = {
      "nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "virtiofs", "fuse.sshfs"};
  return std::find(kTypes.begin(), kTypes.end(), type) != kTypes.end();
}

bool IsUserFileSystem(std::string_view source, std::string_view type) {
  if (type == "squashfs" || (type == "iso9660" && source.starts_with("/dev/loop"))) {
    return false;  // snaps and other mounted images
  }
  return source.starts_with("/dev/") || IsNetworkType(type);
}

bool IsSystemFolder(std::string_view target) {
  static constexpr std::array<std::string_view, 5> kFolders = {"/proc", "/sys", "/dev", "/run",
                                                               "/snap"};
  if (target.starts_with("/run/media/")) {
    return false;
  }
  return std::any_of(kFolders.begin(), kFolders.end(), [&](std::string_view folder) {
    return target == folder || target.starts_with(std::string(folder) + "/");
  });
}

}  // namespace

std::vector<std::string> ParseMountPoints(std::string_view table) {
  std::vector<std::string> points;
  std::istringstream lines{std::string(table)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string source;
    std::string target;
    std::string type;
    if (!(fields >> source >> target >> type)) {
      continue;
    }
    target = Unescape(target);
    if (target == "/" || target.empty() || target[0] != '/' || IsSystemFolder(target) ||
        !IsUserFileSystem(source, type)) {
      continue;
    }
    if (std::find(points.begin(), points.end(), target) == points.end()) {
      points.push_back(target);
    }
  }
  std::sort(points.begin(), points.end());
  points.insert(points.begin(), "/");
  return points;
}

}  // namespace varnock
