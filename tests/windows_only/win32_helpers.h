#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/files.h"

namespace varnock::testing {

// Wide text of a UTF-8 path, for calling the Win32 API directly.
inline std::wstring Wide(const std::string& text) {
  return ToFsPath(text).wstring();
}

inline DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str());
}
inline void SetAttributes(const std::string& path, DWORD attributes) {
  ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), attributes)) << path;
}

// A file opened with the given share mode (null when it cannot be), closed when the pointer
// goes: while it is open, another program holds the file.
using HeldFile = std::unique_ptr<void, decltype(&CloseHandle)>;
inline HeldFile Hold(const std::string& path, DWORD access, DWORD share) {
  HANDLE handle = CreateFileW(Wide(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  return {handle == INVALID_HANDLE_VALUE ? nullptr : handle, &CloseHandle};
}

// A registry key under HKEY_LOCAL_MACHINE in one registry view (KEY_WOW64_32KEY or
// KEY_WOW64_64KEY) holding one string value (an empty name: the key's default value), deleted
// when the object goes.
class ScopedRegistryKey {
 public:
  ScopedRegistryKey(const std::string& path, REGSAM view, const std::string& name,
                    const std::string& data);
  ~ScopedRegistryKey() { RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), view_, 0); }
  ScopedRegistryKey(const ScopedRegistryKey&) = delete;
  ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

 private:
  std::wstring path_;
  REGSAM view_;
};

// The paths of the files in `folder`.
std::vector<std::string> FilesIn(const std::string& folder);

// Runs a command line in `folder`, waits for it and gives its exit code (-1 when it cannot
// start). Its output and error streams go to `output_path`.
int RunProgram(const std::string& command_line, const std::string& output_path,
               const std::string& folder);

}  // namespace varnock::testing
