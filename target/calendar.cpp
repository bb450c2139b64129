#include "target/calendar.h"

#include <chrono>

namespace varnock {

namespace chrono = std::chrono;

BuildDate DateFromSeconds(std::int64_t seconds) {
  const chrono::sys_seconds time{chrono::seconds{seconds}};
  const chrono::sys_days day = chrono::floor<chrono::days>(time);
  const chrono::year_month_day calendarDay{day};
  const chrono::hh_mm_ss<chrono::seconds> clock{time - day};
  BuildDate date;
  date.year = static_cast<int>(calendarDay.year());
  date.month = static_cast<int>(static_cast<unsigned>(calendarDay.month()));
  date.day = static_cast<int>(static_cast<unsigned>(calendarDay.day()));
  date.hour = static_cast<int>(clock.hours().count());
  date.minute = static_cast<int>(clock.minutes().count());
  date.second = static_cast<int>(clock.seconds().count());
  return date;
}

// The first of the month, then the days after it, so that a day past the month's end counts on.
std::int64_t SecondsFromDate(const BuildDate& date) {
  const chrono::year_month month =
      chrono::year{date.year} / chrono::January + chrono::months{date.month - 1};
  const chrono::sys_days day = chrono::sys_days{month / 1} + chrono::days{date.day - 1};
  const chrono::sys_seconds time =
      day + chrono::hours{date.hour} + chrono::minutes{date.minute} + chrono::seconds{date.second};
  return time.time_since_epoch().count();
}

}  // namespace varnock
