#include "support/translation_choice.h"

#include <cstdlib>

#include "support/translation_choice_platform.h"

namespace varnock {

namespace {

constexpr const char* kChosenVariable = "VARNOCK_LANGUAGE";

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// "de_DE.UTF-8@euro" gives "de_DE" and "de"; "C", "POSIX" and empty names give nothing.
void AddLocale(std::string_view locale, std::vector<std::string>& languages) {
  const std::size_t end = locale.find_first_of(".@");
  const std::string_view name = locale.substr(0, end);
  if (name.empty()) {
    return;
  }
  languages.emplace_back(name);
  const std::size_t country = name.find_first_of("_-");
  if (country != std::string_view::npos && country > 0) {
    languages.emplace_back(name.substr(0, country));
  }
}

bool IsEnglishOrPlain(std::string_view locale) {
  return locale == "C" || locale == "POSIX" || locale.rfind("C.", 0) == 0;
}

}  // namespace

std::vector<std::string> UserLanguages(const LanguageVariables& variables) {
  std::string_view locale = variables.systemLocale;
  for (const std::string* value : {&variables.lang, &variables.lcMessages, &variables.lcAll}) {
    if (!value->empty()) {
      locale = *value;
    }
  }
  std::vector<std::string> languages;
  AddLocale(variables.chosen, languages);
  if (locale.empty() || IsEnglishOrPlain(locale)) {
    return languages;
  }
  std::string_view list = variables.language;
  while (!list.empty()) {
    const std::size_t colon = list.find(':');
    AddLocale(list.substr(0, colon), languages);
    list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
  }
  AddLocale(locale, languages);
  return languages;
}

void ChooseProcessLanguage(const std::string& language) {
  if (!language.empty()) {
    SetProcessVariable(kChosenVariable, language);
  }
}

LanguageVariables ProcessLanguageVariables() {
  return {.chosen = Variable(kChosenVariable),
          .language = Variable("LANGUAGE"),
          .lcAll = Variable("LC_ALL"),
          .lcMessages = Variable("LC_MESSAGES"),
          .lang = Variable("LANG"),
          .systemLocale = InterfaceLocale()};
}

std::string ChosenLanguage(const std::vector<std::string>& languages) {
  for (const std::string& language : languages) {
    if (language == "en" || language.rfind("en_", 0) == 0) {
      break;
    }
    if (!EmbeddedCatalogue(language).empty()) {
      return language;
    }
  }
  return {};
}

MessageCatalogue ChosenCatalogue(const std::vector<std::string>& languages) {
  const std::string language = ChosenLanguage(languages);
  MessageCatalogue catalogue;
  std::string error;
  if (language.empty() || !catalogue.Read(EmbeddedCatalogue(language), error)) {
    return {};
  }
  return catalogue;
}

const std::string& ActiveLanguage() {
  static const std::string active = ChosenLanguage(UserLanguages(ProcessLanguageVariables()));
  return active;
}

}  // namespace varnock
