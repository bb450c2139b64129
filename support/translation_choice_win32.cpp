#include <windows.h>

#include <cstdlib>

#include "support/translation_choice.h"

namespace varnock {

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The user's language of the interface, as "de_DE".
std::string InterfaceLocale() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LCID id = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (LCIDToLocaleName(id, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) {
    return {};
  }
  std::string locale;
  for (const wchar_t* c = name; *c != L'\0'; ++c) {
    locale += *c == L'-' ? '_' : static_cast<char>(*c & 0x7f);
  }
  return locale;
}

}  // namespace

LanguageVariables ProcessLanguageVariables() {
  return {.language = Variable("LANGUAGE"),
          .lcAll = Variable("LC_ALL"),
          .lcMessages = Variable("LC_MESSAGES"),
          .lang = Variable("LANG"),
          .systemLocale = InterfaceLocale()};
}

}  // namespace varnock
