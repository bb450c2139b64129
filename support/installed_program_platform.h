#pragma once

#include <string>
#include <vector>

namespace varnock {

// The platform's side of FindInstalledProgram.

// The Program Files folders in the order they are tried: the one 32-bit programs are
// installed in first. Folders the platform cannot give are left out.
std::vector<std::string> ProgramFilesFolders();

// A Windows path read from the registry as a native path; empty when it cannot be reached.
std::string RegistryPathToNative(const std::string& windowsPath);

// The native path of an existing file whose name differs from `path` only in letter case, as
// Windows names match; `path` itself when there is none.
std::string MatchLetterCase(const std::string& path);

}  // namespace varnock
