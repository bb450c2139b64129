#include "support/platform.h"

#include <langinfo.h>
#include <locale.h>

#include <filesystem>
#include <system_error>

#include "support/files.h"

namespace varnock {

char LocaleDecimalSeparator() {
  // The user's number format is read from a locale object of its own: the program's global
  // locale stays as it is.
  locale_t user = newlocale(LC_NUMERIC_MASK, "", nullptr);
  if (user == nullptr) {
    return '.';
  }
  const char* radix = nl_langinfo_l(RADIXCHAR, user);
  char separator = '.';
  // A separator of more than one byte cannot stand in one character: keep the point.
  if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0') {
    separator = radix[0];
  }
  freelocale(user);
  return separator;
}

std::string OwnExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : FromFsPath(path);
}

std::string CurrentFolder() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : FromFsPath(path);
}

}  // namespace varnock
