#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/bytes.h"
#include "ui/user_interface.h"

namespace varnock {

// A build date and time, no time zone.
struct BuildDate {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The signature GetExeVersion gives after a failure it has reported.
inline constexpr std::string_view kFailedExeVersion = "ERROR";

// The version signature of the executable at `path`, for example
// "LE_UK_P:XP_Standard (11-Nov-2000  15:21)"; kFailedExeVersion after a failure it has reported.
std::string GetExeVersion(const std::string& path, UserInterface& ui);
// The same for a file probed as though its name were `fileName` (a copy kept under another
// name); the messages still name `path`.
std::string GetExeVersionAs(const std::string& path, const std::string& fileName,
                            UserInterface& ui);

// The same for `content`, the whole file at `path` read already (it is not read again).
std::string GetExeVersionOfImage(const std::string& path, const Bytes& content, UserInterface& ui);

// The PE header time stamp of the file; false with a description on failure.
bool GetExeBuildDate(const std::string& path, BuildDate& date, std::string& error);

// "11-Nov-2000  15:21".
std::string FormatVersionDate(const BuildDate& date);

}  // namespace varnock
