#include "target/build_date.h"

#include <gtest/gtest.h>

#include <climits>

#include "target/calendar.h"

namespace varnock {
namespace {

struct StampCase {
  std::int64_t seconds;
  const char* text;
};

// Stamps checked against an independent calendar.
constexpr StampCase kStamps[] = {
    {0, "1-Jan-1970  00:00"},          {973956060, "11-Nov-2000  15:21"},
    {983783220, "5-Mar-2001  09:07"},  {951868799, "29-Feb-2000  23:59"},
    {-1, "31-Dec-1969  23:59"},        {-310435200, "1-Mar-1960  00:00"},
    {INT32_MIN, "13-Dec-1901  20:45"}, {INT32_MAX, "19-Jan-2038  03:14"},
};

TEST(BuildDateTest, StampsBecomeCalendarDatesWithoutTimeZone) {
  for (const StampCase& c : kStamps) {
    SCOPED_TRACE(c.seconds);
    const BuildDate date = DateFromSeconds(c.seconds);
    EXPECT_EQ(FormatVersionDate(date), c.text);
    EXPECT_EQ(SecondsFromDate(date), c.seconds);
  }
}

}  // namespace
}  // namespace varnock
