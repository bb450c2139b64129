#include <windows.h>

#include <cstdlib>

#include "support/translation_choice_platform.h"

namespace varnock {

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

void SetProcessVariable(const char* name, const std::string& value) {
  _putenv_s(name, value.c_str());
}

}  // namespace varnock
