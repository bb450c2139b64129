#include "picker/system_picker_environment.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "picker/drives.h"
#include "picker/hidden_folder.h"
#include "picker/picker_paths.h"
#include "support/files.h"
#include "support/list_files.h"
#include "support/platform.h"
#include "support/resolved_path.h"

namespace varnock {

namespace fs = std::filesystem;

namespace {

// Folder names in the order a person looks for them: letter case ignored, ties by bytes.
bool ShownBefore(const std::string& a, const std::string& b) {
  const auto lower = [](unsigned char c) { return std::tolower(c); };
  const bool less = std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) < lower(y); });
  const bool greater = std::lexicographical_compare(
      b.begin(), b.end(), a.begin(), a.end(), [&](char x, char y) { return lower(x) < lower(y); });
  return less || (!greater && a < b);
}

}  // namespace

std::vector<std::string> SystemPickerEnvironment::Drives() const {
  return ListDrives();
}

bool SystemPickerEnvironment::DriveReady(const std::string& root) const {
  return DriveIsReady(root);
}

std::string SystemPickerEnvironment::CurrentFolder() const {
  return varnock::CurrentFolder();
}

std::string SystemPickerEnvironment::CurrentFolderOn(const std::string& root) const {
#ifdef _WIN32
  // Windows keeps a current folder for every drive; "C:" alone names it.
  std::error_code error;
  const fs::path folder = fs::absolute(ToFsPath(root.substr(0, 2)), error);
  return error ? root : FromFsPath(folder);
#else
  const std::string current = CurrentFolder();
  const std::vector<std::string> drives = Drives();
  const int drive = DriveIndexOf(current, drives, Style());
  return drive >= 0 && drives[drive] == root ? current : root;
#endif
}

std::string SystemPickerEnvironment::ResolveDots(const std::string& path) const {
  return ResolvedPath(path);
}

bool SystemPickerEnvironment::FolderExists(const std::string& path) const {
  return varnock::FolderExists(path);
}

bool SystemPickerEnvironment::FileExists(const std::string& path) const {
  return varnock::FileExists(path);
}

bool SystemPickerEnvironment::EntryExists(const std::string& path) const {
  return varnock::EntryExists(path);
}

std::vector<std::string> SystemPickerEnvironment::Subfolders(const std::string& folder) const {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator it(ToFsPath(folder), fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    if (it->is_directory(typeError) && !IsHiddenFolder(FromFsPath(it->path()))) {
      names.push_back(FromFsPath(it->path().filename()));
    }
  }
  std::sort(names.begin(), names.end(), ShownBefore);
  return names;
}

std::vector<std::string> SystemPickerEnvironment::Files(const std::string& folder,
                                                        const std::string& pattern) const {
  std::vector<std::string> names;
  for (const std::string& path : ListFiles(folder, pattern)) {
    names.push_back(GetFileName(path));
  }
  return names;
}

bool SystemPickerEnvironment::CreateFolder(const std::string& path, std::string& error) {
  std::error_code failure;
  if (path.find('\0') != std::string::npos) {
    failure = std::make_error_code(std::errc::invalid_argument);
  } else if (fs::create_directory(ToFsPath(path), failure) && !failure) {
    return true;
  } else if (!failure) {
    failure = std::make_error_code(std::errc::file_exists);
  }
  error = ErrorText(failure);
  return false;
}

}  // namespace varnock
