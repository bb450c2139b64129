#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/code_page.h"
#include "support/installed_program.h"
#include "support/installed_program_platform.h"

namespace varnock {

namespace {

constexpr int kProgramFiles = 38;
constexpr int kProgramFilesX86 = 0x2a;
constexpr DWORD kNameArea = 511;
constexpr DWORD kDataArea = 256;

// The key is closed when the object goes.
class RegistryKey {
 public:
  explicit RegistryKey(const std::string& path) {
    const std::string ansi = Utf8ToAnsi(path);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ansi.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key_) !=
        ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~RegistryKey() {
    if (key_ != nullptr) {
      RegCloseKey(key_);
    }
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string ReadFirstRegistryValue(const std::string& keyPath) {
  const RegistryKey key(keyPath);
  if (key.get() == nullptr) {
    return {};
  }
  char name[kNameArea + 1] = {};
  DWORD nameLength = kNameArea + 1;
  BYTE data[kDataArea] = {};
  DWORD dataLength = kDataArea;
  DWORD type = 0;
  // Data longer than the data area fails with ERROR_MORE_DATA and gives nothing.
  if (RegEnumValueA(key.get(), 0, name, &nameLength, nullptr, &type, data, &dataLength) !=
      ERROR_SUCCESS) {
    return {};
  }
  const auto* text = reinterpret_cast<const char*>(data);
  const std::size_t length = std::min<std::size_t>(dataLength, kDataArea);
  return AnsiToUtf8(std::string(text, std::find(text, text + length, '\0')));
}

std::string GetSpecialFolder(int folderNumber) {
  std::string buffer(MAX_PATH, ' ');
  // The token -1 asks for the default user's folder.
  if (SHGetFolderPathA(nullptr, folderNumber, reinterpret_cast<HANDLE>(-1), 0, buffer.data()) !=
      S_OK) {
    return {};
  }
  return AnsiToUtf8(TrimBlanks(buffer.substr(0, buffer.find('\0'))));
}

std::vector<std::string> ProgramFilesFolders() {
  // A 64-bit build looks first where the 32-bit program was installed.
  std::vector<std::string> folders;
  for (const int number : {kProgramFilesX86, kProgramFiles}) {
    const std::string folder = GetSpecialFolder(number);
    if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  }
  return folders;
}

std::string RegistryPathToNative(const std::string& windowsPath) {
  return windowsPath;
}

std::string MatchLetterCase(const std::string& path) {
  return path;
}

}  // namespace varnock
