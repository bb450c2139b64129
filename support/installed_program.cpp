#include "support/installed_program.h"

#include "support/files.h"
#include "support/installed_program_platform.h"
#include "support/paths.h"

namespace varnock {

namespace {

constexpr const char* kAppPathsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// The App Paths value names the program itself, or the folder it lies in.
std::string FromAppPathsValue(const std::string& value, const std::string& name) {
  const std::string candidate =
      ContainsIgnoreCase(value, ".exe") ? value : JoinPath(value, name, PathStyle::Windows);
  const std::string native = RegistryPathToNative(candidate);
  return FileExists(native) ? native : std::string();
}

}  // namespace

std::string FindInstalledProgram(const std::string& relativePath) {
  const std::string name = GetFileName(relativePath);
  const std::string value = ReadFirstRegistryValue(kAppPathsKey + name);
  if (!value.empty()) {
    return FromAppPathsValue(value, name);
  }
  for (const std::string& folder : ProgramFilesFolders()) {
    std::string candidate = MatchLetterCase(JoinPath(folder, relativePath));
    if (FileExists(candidate)) {
      return candidate;
    }
  }
  return {};
}

}  // namespace varnock
