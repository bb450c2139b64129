#pragma once

#include <span>
#include <string_view>

#include "app/settings_store.h"

namespace varnock {

// The language the windows speak, chosen in the Patches window and kept in the settings under
// this name: the code of a language ("de", "en"), or nothing for the system's.
inline constexpr const char* kRememberedLanguage = "Language";

struct LanguageOption {
  std::string_view code;  // empty: the system's languages
  std::string_view name;  // in its own language; the system's in the user's
};

// What the windows offer, the system's languages first, then English and every language the
// program carries, each named in itself.
std::span<const LanguageOption> LanguageOptions();

// The option of the remembered language; the system's when none is kept or it is unknown.
std::size_t RememberedLanguageOption(const SettingsStore* settings);

// Makes the remembered language this process's: called at start-up, before any text is read.
void UseRememberedLanguage(const SettingsStore& settings);

}  // namespace varnock
