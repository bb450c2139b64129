#include "app/language_setting.h"

#include <array>
#include <string>

#include "support/translation.h"
#include "support/translation_choice.h"

namespace varnock {

namespace {

constexpr std::array<LanguageOption, 4> kLanguageOptions = {{
    {"", TrNoop("System language")},
    {"en", "English"},
    {"de", "Deutsch"},
    {"es", "Español"},
}};

}  // namespace

std::span<const LanguageOption> LanguageOptions() {
  return kLanguageOptions;
}

std::size_t RememberedLanguageOption(const SettingsStore* settings) {
  const std::string code = settings != nullptr ? settings->Read(kRememberedLanguage) : "";
  for (std::size_t i = 0; i < kLanguageOptions.size(); ++i) {
    if (kLanguageOptions[i].code == code) {
      return i;
    }
  }
  return 0;
}

void UseRememberedLanguage(const SettingsStore& settings) {
  ChooseProcessLanguage(std::string(kLanguageOptions[RememberedLanguageOption(&settings)].code));
}

}  // namespace varnock
