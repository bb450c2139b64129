#include "tests/windows/win32_helpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

#include "support/files.h"
#include "support/utf8.h"

namespace varnock::testing {

std::wstring Wide(const std::string& text) {
  const std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string Narrow(const std::wstring& text) {
  return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

std::string UniqueName(const std::string& prefix) {
  static std::atomic<unsigned> counter{0};
  return prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out << text;
  ASSERT_TRUE(out.flush()) << "cannot write " << path;
}

DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str());
}

void SetAttributes(const std::string& path, DWORD attributes) {
  ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), attributes)) << path;
}

HeldFile::HeldFile(const std::string& path, DWORD access, DWORD share)
    : handle_(CreateFileW(Wide(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldFile::~HeldFile() {
  if (valid()) {
    CloseHandle(handle_);
  }
}

ScopedRegistryKey::ScopedRegistryKey(const std::string& path, REGSAM view)
    : path_(Wide(path)), view_(view) {
  const LONG result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0,
                                      KEY_ALL_ACCESS | view_, nullptr, &key_, nullptr);
  EXPECT_EQ(result, ERROR_SUCCESS) << "cannot create HKLM\\" << path;
}

ScopedRegistryKey::~ScopedRegistryKey() {
  if (key_ != nullptr) {
    RegCloseKey(key_);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), view_, 0);
  }
}

void ScopedRegistryKey::SetString(const std::string& name, const std::string& data) {
  ASSERT_NE(key_, nullptr);
  const std::wstring wideName = Wide(name);
  const std::wstring wideData = Wide(data);
  const auto bytes = static_cast<DWORD>((wideData.size() + 1) * sizeof(wchar_t));
  ASSERT_EQ(RegSetValueExW(key_, name.empty() ? nullptr : wideName.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(wideData.c_str()), bytes),
            ERROR_SUCCESS);
}

int RunProgram(const std::string& command_line, const std::string& output_path,
               const std::string& folder) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE output = INVALID_HANDLE_VALUE;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!output_path.empty()) {
    output = CreateFileW(Wide(output_path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
  }
  std::wstring line = Wide(command_line);
  PROCESS_INFORMATION process{};
  const std::wstring wideFolder = Wide(folder);
  const BOOL started =
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     folder.empty() ? nullptr : wideFolder.c_str(), &startup, &process);
  if (output != INVALID_HANDLE_VALUE) {
    CloseHandle(output);
  }
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
