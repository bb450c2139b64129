#include "history/shown_entry.h"

#include <gtest/gtest.h>

#include <ctime>

#include "tests/support/scoped_variable.h"

namespace varnock::testing {
namespace {

// A recorded UTC time in local time (winter and summer time of Central Europe here), written by
// the language's format; the English format, anything not of the recorded form, and a format
// that asks for what strftime may not know, as it was.
TEST(ShownEntry, TimeInLocalTimeByTheLanguagesFormat) {
  {
    const ScopedVariable zone("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    const struct {
      const char* recorded;
      const char* format;
      const char* shown;
    } cases[] = {
        {"2026-12-07T17:30:00Z", "%d.%m.%Y %H:%M:%S", "07.12.2026 18:30:00"},
        {"2026-07-01T23:15:09Z", "%d/%m/%Y %H:%M", "02/07/2026 01:15"},
        {"2026-12-07T17:30:00Z", "%Y-%m-%dT%H:%M:%SZ", "2026-12-07T17:30:00Z"},
        {"2026-02-30T10:00:00Z", "%d.%m.%Y", "2026-02-30T10:00:00Z"},
        {"2026-12-07 17:30:00", "%d.%m.%Y", "2026-12-07 17:30:00"},
        {"", "%d.%m.%Y", ""},
        // A conversion not every C library knows, or a lone %, is not trusted.
        {"2026-12-07T17:30:00Z", "%e.%m.%Y", "2026-12-07T17:30:00Z"},
        {"2026-12-07T17:30:00Z", "%d.%m.%Y %", "2026-12-07T17:30:00Z"},
        {"2026-12-07T17:30:00Z", "%d %%", "07 %"},
    };
    for (const auto& c : cases) {
      EXPECT_EQ(ShownTime(c.recorded, c.format), c.shown) << c.recorded << " " << c.format;
    }
  }
  tzset();
}

}  // namespace
}  // namespace varnock::testing
