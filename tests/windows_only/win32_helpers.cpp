#include "tests/windows_only/win32_helpers.h"

#include <gtest/gtest.h>

#include "support/list_files.h"

namespace varnock::testing {

ScopedRegistryKey::ScopedRegistryKey(const std::string& path, REGSAM view, const std::string& name,
                                     const std::string& data)
    : path_(Wide(path)), view_(view) {
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS | view_, nullptr, &key, nullptr),
            ERROR_SUCCESS)
      << path;
  const std::wstring wideData = Wide(data);
  EXPECT_EQ(RegSetValueExW(key, name.empty() ? nullptr : Wide(name).c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(wideData.c_str()),
                           static_cast<DWORD>((wideData.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::int32_t count = 0;
  return ListFiles(folder, "*", count);
}

int RunProgram(const std::string& command_line, const std::string& output_path,
               const std::string& folder) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE output = CreateFileW(Wide(output_path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  std::wstring line = Wide(command_line);
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      Wide(folder).c_str(), &startup, &process);
  CloseHandle(output);
  if (!started) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

}  // namespace varnock::testing
