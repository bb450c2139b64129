#include "target/build_date.h"

#include <gtest/gtest.h>

#include <climits>

#include "target/calendar.h"
#include "target/exe_version.h"
#include "tests/common/temp_dir.h"
#include "tools/pe_time_stamp.h"

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

// The date read from the file itself, as the signature of a file it could not hold takes it: the
// stamp the header offset points to; an offset that puts it before the file's start gives none.
TEST(BuildDateTest, ReadFromTheFile) {
  testing::TempDir dir;
  Bytes image(0x40, 0);
  PutPeTimeStamp(image, 0x80, 973956060);
  BuildDate date;
  std::string error;
  ASSERT_TRUE(GetExeBuildDate(dir.Write("a.exe", image), date, error)) << error;
  EXPECT_EQ(FormatVersionDate(date), "11-Nov-2000  15:21");
  PutPeTimeStamp(image, -9, 0);
  EXPECT_FALSE(GetExeBuildDate(dir.Write("b.exe", image), date, error));
}

}  // namespace
}  // namespace varnock
