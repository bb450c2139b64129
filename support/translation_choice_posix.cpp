#include "support/translation_choice_platform.h"

namespace varnock {

// POSIX programs take their language from the environment only.
std::string InterfaceLocale() {
  return {};
}

}  // namespace varnock
