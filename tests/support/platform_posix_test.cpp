#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "support/platform.h"
#include "tests/common/temp_dir.h"
#include "tests/support/scoped_variable.h"

namespace varnock::testing {
namespace {

// The user's locale decides, read without changing the program's own locale.
TEST(PlatformPosix, DecimalSeparatorOfTheUsersLocale) {
  TempDir dir;
  const std::string german =
      "localedef -i de_DE -f UTF-8 '" + dir.path() + "/de_DE' >/dev/null 2>&1";
  if (std::system(german.c_str()) != 0) {
    GTEST_SKIP() << "localedef cannot build a German locale here";
  }
  const std::string before = std::setlocale(LC_ALL, nullptr);
  const ScopedVariable path("LOCPATH", dir.path());
  for (const auto& [locale, separator] : {std::pair{"de_DE", ','}, {"xx_NOWHERE", '.'}}) {
    const ScopedVariable all("LC_ALL", locale);
    EXPECT_EQ(LocaleDecimalSeparator(), separator) << locale;
  }
  EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
}

}  // namespace
}  // namespace varnock::testing
