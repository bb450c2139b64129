#pragma once

#include <cstdint>
#include <string>

#include "support/bytes.h"
#include "target/exe_version.h"

namespace varnock {

// Where the PE header offset is stored, and how far past the header's start its time stamp
// lies (after the 4-byte signature and the machine and section-count fields).
inline constexpr std::int64_t kPeHeaderOffsetPlace = 0x3C;
inline constexpr std::int64_t kTimeStampDistance = 8;

// The build date of an executable already held in memory; bytes beyond its end read as zero.
bool BuildDateFromImage(const Bytes& image, BuildDate& date, std::string& error);

}  // namespace varnock
