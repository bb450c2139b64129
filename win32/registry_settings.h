#pragma once

#include <string>

#include "app/settings_store.h"

namespace varnock::win32 {

// The user's settings of the program as texts under a key of the current user's registry,
// HKEY_CURRENT_USER\Software\Varnock unless the caller names another.
class RegistrySettings : public SettingsStore {
 public:
  explicit RegistrySettings(std::wstring key = L"Software\\Varnock");

  std::string Read(const std::string& name) const override;
  // A value that cannot be kept is lost without a word: the next run starts as usual.
  void Write(const std::string& name, const std::string& value) override;

 private:
  std::wstring key_;
};

}  // namespace varnock::win32
