#pragma once

#include <string>

namespace varnock {

// The first value, in enumeration order, of a key under HKEY_LOCAL_MACHINE (32-bit view);
// empty on failure. On Linux the key is read from the Wine prefix's system.reg.
std::string ReadFirstRegistryValue(const std::string& keyPath);

// The path of a shell special folder (38: Program Files); empty on failure. On Linux the
// Wine prefix's Program Files folder.
std::string GetSpecialFolder(int folderNumber);

// Full path of an installed program from its path below the Program Files folder (native
// separators), found through its App Paths registry value, else in the Program Files folder;
// empty when not found. In a Wine prefix the registry's Windows path is taken through the
// prefix's drive links, and names match in any letter case as they do on Windows.
std::string FindInstalledProgram(const std::string& relativePath);

}  // namespace varnock
