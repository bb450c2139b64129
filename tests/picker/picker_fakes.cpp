#include "tests/picker/picker_fakes.h"

#include <cctype>

#include "picker/picker_paths.h"
#include "support/files.h"
#include "support/list_files.h"

namespace varnock::testing {

std::string FakeWindowsEnvironment::Key(const std::string& path) {
  std::string key;
  for (char c : path) {
    if (c == '\\' && !key.empty() && key.back() == '\\') {
      continue;
    }
    key.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  }
  if (key.size() > 3 && key.back() == '\\') {
    key.pop_back();
  }
  if (key.size() == 2 && key[1] == ':') {
    key.push_back('\\');
  }
  return key;
}

std::string FakeWindowsEnvironment::CurrentFolderOn(const std::string& root) const {
  return EqualsIgnoreCase(current.substr(0, 2), root.substr(0, 2)) ? current : root;
}

bool FakeWindowsEnvironment::Holds(const std::set<std::string>& paths, const std::string& path) {
  for (const std::string& held : paths) {
    if (Key(held) == Key(path)) {
      return true;
    }
  }
  return false;
}

bool FakeWindowsEnvironment::FolderExists(const std::string& path) const {
  return Holds(folders, path);
}

bool FakeWindowsEnvironment::FileExists(const std::string& path) const {
  return Holds(files, path);
}

bool FakeWindowsEnvironment::EntryExists(const std::string& path) const {
  return FolderExists(path) || FileExists(path);
}

std::vector<std::string> FakeWindowsEnvironment::Subfolders(const std::string& folder) const {
  std::vector<std::string> names;
  for (const std::string& path : folders) {
    if (!IsRootFolder(path, PathStyle::Windows) &&
        Key(GetParentFolder(path, PathStyle::Windows)) == Key(folder)) {
      names.push_back(GetFileName(path, PathStyle::Windows));
    }
  }
  return names;
}

std::vector<std::string> FakeWindowsEnvironment::Files(const std::string& folder,
                                                       const std::string& pattern) const {
  listed.push_back(folder);
  std::vector<std::string> names;
  for (const std::string& path : files) {
    const std::string name = GetFileName(path, PathStyle::Windows);
    if (Key(GetParentFolder(path, PathStyle::Windows)) == Key(folder) &&
        WildcardMatch(pattern, name)) {
      names.push_back(name);
    }
  }
  return names;
}

bool FakeWindowsEnvironment::CreateFolder(const std::string& path, std::string& error) {
  if (!FolderExists(GetParentFolder(path, PathStyle::Windows))) {
    error = "The system cannot find the path specified.";
    return false;
  }
  AddFolder(path);
  return true;
}

}  // namespace varnock::testing
