#pragma once

#include <cstdint>

#include "target/exe_version.h"

namespace varnock {

// Seconds since 1970-01-01 00:00:00 as a calendar date and time, no time zone; negative
// counts lie before 1970.
BuildDate DateFromSeconds(std::int64_t seconds);
std::int64_t SecondsFromDate(const BuildDate& date);

}  // namespace varnock
