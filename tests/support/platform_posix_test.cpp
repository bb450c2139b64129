#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "support/platform.h"
#include "tests/common/temp_dir.h"
#include "tests/support/scoped_variable.h"

namespace varnock {
namespace {

TEST(PlatformPosix, DecimalSeparatorOfTheUsersLocale) {
  testing::TempDir dir;
  // A German locale of our own, compiled into the test folder.
  const std::string command =
      "localedef -i de_DE -f UTF-8 '" + dir.path() + "/de_DE.UTF-8' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) {
    GTEST_SKIP() << "localedef cannot build a German locale here";
  }
  const std::string before = std::setlocale(LC_ALL, nullptr);
  {
    testing::ScopedVariable path("LOCPATH", dir.path());
    testing::ScopedVariable all("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(LocaleDecimalSeparator(), ',');
  }
  // The program's own locale is left alone.
  EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
  {
    testing::ScopedVariable all("LC_ALL", "C");
    EXPECT_EQ(LocaleDecimalSeparator(), '.');
  }
  {
    testing::ScopedVariable all("LC_ALL", "xx_NOWHERE.UTF-8");
    EXPECT_EQ(LocaleDecimalSeparator(), '.');
  }
}

}  // namespace
}  // namespace varnock
