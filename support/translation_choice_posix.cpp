#include <cstdlib>

#include "support/translation_choice_platform.h"

namespace varnock {

// POSIX programs take their language from the environment only.
std::string InterfaceLocale() {
  return {};
}

void SetProcessVariable(const char* name, const std::string& value) {
  ::setenv(name, value.c_str(), 1);
}

}  // namespace varnock
