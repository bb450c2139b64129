#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "support/files.h"
#include "support/installed_program.h"
#include "support/installed_program_platform.h"
#include "support/paths.h"
#include "support/wine_registry.h"

// Windows programs run here inside a Wine prefix: its system.reg holds the machine's registry
// and its drive_c folder the Windows drive.

namespace varnock {

namespace fs = std::filesystem;

namespace {

constexpr int kProgramFiles = 38;
constexpr int kProgramFilesX86 = 0x2a;

std::string WinePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && prefix[0] != '\0') {
    return prefix;
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    return {};
  }
  return JoinPath(home, ".wine");
}

// Keys under SOFTWARE of the 32-bit view lie under Wow6432Node in a 64-bit prefix.
std::string Wow64Key(const std::string& keyPath) {
  const std::string software = "SOFTWARE\\";
  if (keyPath.size() < software.size() ||
      !EqualsIgnoreCase(keyPath.substr(0, software.size()), software)) {
    return {};
  }
  return "Software\\Wow6432Node\\" + keyPath.substr(software.size());
}

// The Program Files folders of the prefix, the 32-bit one first.
std::vector<std::string> PrefixProgramFiles() {
  std::vector<std::string> folders;
  const std::string prefix = WinePrefix();
  if (prefix.empty()) {
    return folders;
  }
  const std::string driveC = JoinPath(prefix, "drive_c");
  for (const char* name : {"Program Files (x86)", "Program Files"}) {
    const std::string folder = JoinPath(driveC, name);
    if (FolderExists(folder)) {
      folders.push_back(folder);
    }
  }
  return folders;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The entry of `folder` named `name` in any letter case; `name` when there is none.
fs::path SameNameIgnoringCase(const fs::path& folder, const fs::path& name) {
  std::error_code error;
  if (fs::exists(folder / name, error)) {
    return name;
  }
  const std::string wanted = FromFsPath(name);
  for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator();
       it.increment(error)) {
    fs::path found = it->path().filename();
    if (EqualsIgnoreCase(FromFsPath(found), wanted)) {
      return found;
    }
  }
  return name;
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string ReadFirstRegistryValue(const std::string& keyPath) {
  const std::string prefix = WinePrefix();
  if (prefix.empty()) {
    return {};
  }
  Bytes content;
  std::string error;
  if (!ReadWholeFile(JoinPath(prefix, "system.reg"), content, error)) {
    return {};
  }
  const std::string_view text(reinterpret_cast<const char*>(content.data()), content.size());
  const std::string wow64 = Wow64Key(keyPath);
  if (!wow64.empty()) {
    if (const auto value = FirstRegistryValue(text, wow64)) {
      return *value;
    }
  }
  return FirstRegistryValue(text, keyPath).value_or(std::string());
}

std::string GetSpecialFolder(int folderNumber) {
  if (folderNumber != kProgramFiles && folderNumber != kProgramFilesX86) {
    return {};
  }
  const std::vector<std::string> folders = PrefixProgramFiles();
  return folders.empty() ? std::string() : folders.front();
}

std::vector<std::string> ProgramFilesFolders() {
  return PrefixProgramFiles();
}

std::string RegistryPathToNative(const std::string& windowsPath) {
  // Only a path on a drive can be reached: the drive's link in dosdevices leads to its folder.
  if (windowsPath.size() < 2 || !IsLetter(windowsPath[0]) || windowsPath[1] != ':') {
    return {};
  }
  const std::string prefix = WinePrefix();
  if (prefix.empty()) {
    return {};
  }
  const std::string drive{LowerAscii(windowsPath[0]), ':'};
  std::error_code error;
  const fs::path root =
      fs::canonical(ToFsPath(JoinPath(JoinPath(prefix, "dosdevices"), drive)), error);
  if (error) {
    return {};
  }
  std::string rest = windowsPath.substr(2);
  for (char& c : rest) {
    if (c == '\\') {
      c = '/';
    }
  }
  while (!rest.empty() && rest.front() == '/') {
    rest.erase(rest.begin());
  }
  std::string native = FromFsPath(root);
  if (rest.empty()) {
    return native;
  }
  return MatchLetterCase(native == "/" ? "/" + rest : JoinPath(native, rest));
}

std::string MatchLetterCase(const std::string& path) {
  std::error_code error;
  if (path.empty() || fs::exists(ToFsPath(path), error)) {
    return path;
  }
  // Walks down from the root; each missing part takes the name of a sibling that differs
  // only in letter case.
  fs::path matched = ToFsPath(path).root_path();
  for (const fs::path& part : ToFsPath(path).relative_path()) {
    matched /= SameNameIgnoringCase(matched, part);
  }
  return FromFsPath(matched);
}

}  // namespace varnock
