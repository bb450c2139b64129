#include <cstdlib>

#include "support/translation_choice.h"

namespace varnock {

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

LanguageVariables ProcessLanguageVariables() {
  return {.language = Variable("LANGUAGE"),
          .lcAll = Variable("LC_ALL"),
          .lcMessages = Variable("LC_MESSAGES"),
          .lang = Variable("LANG"),
          .systemLocale = {}};
}

}  // namespace varnock
