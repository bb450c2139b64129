#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "support/files.h"
#include "support/platform.h"

namespace varnock {

char LocaleDecimalSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 2) {
    return '.';
  }
  // A separator of more than one character, or outside ASCII, cannot stand in one byte.
  if (separator[1] != L'\0' || separator[0] >= 0x80) {
    return '.';
  }
  return static_cast<char>(separator[0]);
}

std::string OwnExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      return {};
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      return FromFsPath(std::filesystem::path(buffer));
    }
    if (buffer.size() >= 32768) {
      return {};
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string CurrentFolder() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : FromFsPath(path);
}

}  // namespace varnock
