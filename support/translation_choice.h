#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/message_catalogue.h"

namespace varnock {

// The variables gettext reads to choose the language of messages.
struct LanguageVariables {
  std::string chosen = {};        // VARNOCK_LANGUAGE: the language chosen in Varnock's settings
  std::string language = {};      // LANGUAGE: a list of languages, separated by ':'
  std::string lcAll = {};         // LC_ALL
  std::string lcMessages = {};    // LC_MESSAGES
  std::string lang = {};          // LANG
  std::string systemLocale = {};  // the user's language where none of them is set (Windows)
};

// The user's languages, most wanted first, each as "ll_CC" then "ll" ("de_AT", "de"), as
// gettext reads them: the locale of messages is the first of LC_ALL, LC_MESSAGES and LANG that
// is set, else the system's; a "C" or "POSIX" locale means English and LANGUAGE is then
// ignored; otherwise LANGUAGE's list comes first. A language chosen in Varnock's settings goes
// before all of them, whatever the locale.
std::vector<std::string> UserLanguages(const LanguageVariables& variables);

// Makes `language` ("de", "en") the one chosen for this process, before its first text is read;
// an empty one leaves the choice to the user's languages.
void ChooseProcessLanguage(const std::string& language);

// This process's variables (and, on Windows, the user's language of the interface).
LanguageVariables ProcessLanguageVariables();

// The image of the catalogue the program carries for a language ("de"), or an empty view.
std::string_view EmbeddedCatalogue(std::string_view language);

// The first of these languages that the program carries ("de"); empty (English) when none is,
// or when English comes first.
std::string ChosenLanguage(const std::vector<std::string>& languages);

// The catalogue of ChosenLanguage; empty (English) when there is none.
MessageCatalogue ChosenCatalogue(const std::vector<std::string>& languages);

// The language of ActiveCatalogue: "de", or empty for English.
const std::string& ActiveLanguage();

}  // namespace varnock
