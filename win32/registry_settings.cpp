#include "win32/registry_settings.h"

#include <windows.h>

#include <utility>

#include "win32/text.h"

namespace varnock::win32 {

RegistrySettings::RegistrySettings(std::wstring key) : key_(std::move(key)) {}

std::string RegistrySettings::Read(const std::string& name) const {
  const std::wstring value = Wide(name);
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                   &bytes) != ERROR_SUCCESS) {
    return {};
  }
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr,
                   text.data(), &bytes) != ERROR_SUCCESS) {
    return {};
  }
  text.resize(wcsnlen(text.c_str(), text.size()));
  return Narrow(text);
}

void RegistrySettings::Write(const std::string& name, const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  const std::wstring text = Wide(value);
  RegSetValueExW(key, Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

}  // namespace varnock::win32
