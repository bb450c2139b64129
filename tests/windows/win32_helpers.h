#pragma once

#include <windows.h>

#include <string>

namespace varnock::testing {

// Wide text of a UTF-8 text, for calling the Win32 API directly.
std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

// A name no other test running at the same time uses: the prefix, the process id and a count.
std::string UniqueName(const std::string& prefix);

// Writes a file whose folder already exists.
void WriteText(const std::string& path, const std::string& text);

DWORD AttributesOf(const std::string& path);
void SetAttributes(const std::string& path, DWORD attributes);

// A file handle opened with the given share mode, closed when the object goes: while it is
// open, another program holds the file.
class HeldFile {
 public:
  HeldFile(const std::string& path, DWORD access, DWORD share);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// A registry key under HKEY_LOCAL_MACHINE in one registry view (KEY_WOW64_32KEY or
// KEY_WOW64_64KEY), deleted with its values when the object goes.
class ScopedRegistryKey {
 public:
  ScopedRegistryKey(const std::string& path, REGSAM view);
  ~ScopedRegistryKey();
  ScopedRegistryKey(const ScopedRegistryKey&) = delete;
  ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

  // Sets a string value; an empty name sets the key's default value.
  void SetString(const std::string& name, const std::string& data);

 private:
  std::wstring path_;
  REGSAM view_;
  HKEY key_ = nullptr;
};

// Runs a command line in `folder` (the current one when empty), waits for it and gives its
// exit code (-1 when it cannot start). Its output and error streams go to `output_path` when
// one is given.
int RunProgram(const std::string& command_line, const std::string& output_path = {},
               const std::string& folder = {});

}  // namespace varnock::testing
