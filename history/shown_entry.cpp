#include "history/shown_entry.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "support/translation.h"

namespace varnock {

namespace {

// TRANSLATORS: how a history row's date and time are written, as strftime takes them, in
// local time; this English form keeps the time as recorded (UTC, ISO 8601)
constexpr const char* kRecordedFormat = TrNoop("%Y-%m-%dT%H:%M:%SZ");

// The recorded time as seconds since 1970, when it has the recorded form.
bool RecordedSeconds(const std::string& recorded, std::time_t& seconds) {
  int year = 0;
  unsigned month = 0;
  unsigned day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  char zone = 0;
  if (std::sscanf(recorded.c_str(), "%4d-%2u-%2uT%2d:%2d:%2d%c", &year, &month, &day, &hour,
                  &minute, &second, &zone) != 7 ||
      zone != 'Z') {
    return false;
  }
  const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{month},
                                         std::chrono::day{day}};
  if (!date.ok()) {
    return false;
  }
  const auto time = std::chrono::sys_days{date} + std::chrono::hours{hour} +
                    std::chrono::minutes{minute} + std::chrono::seconds{second};
  seconds = static_cast<std::time_t>(time.time_since_epoch().count());
  return true;
}

// Whether every conversion of the format is one that every C library's strftime knows: a
// translation that asks for another is not trusted (some libraries end the program on one).
bool KnownConversions(std::string_view format) {
  constexpr std::string_view kKnown = "aAbBcdHIjmMpSUwWxXyYZ%";
  for (std::size_t i = format.find('%'); i != std::string_view::npos; i = format.find('%', i + 2)) {
    if (i + 1 == format.size() || kKnown.find(format[i + 1]) == std::string_view::npos) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string ShownTime(const std::string& recorded, std::string_view format) {
  std::time_t seconds = 0;
  if (format == kRecordedFormat || !KnownConversions(format) ||
      !RecordedSeconds(recorded, seconds)) {
    return recorded;
  }
  std::tm local{};
#ifdef _WIN32
  const bool converted = localtime_s(&local, &seconds) == 0;
#else
  const bool converted = localtime_r(&seconds, &local) != nullptr;
#endif
  char text[128] = {};
  const std::string pattern(format);
  if (!converted || std::strftime(text, sizeof text, pattern.c_str(), &local) == 0) {
    return recorded;
  }
  return text;
}

std::string_view TimeFormat() {
  return Tr(kRecordedFormat);
}

std::string ShownTime(const std::string& recorded) {
  return ShownTime(recorded, TimeFormat());
}

std::string OperationText(const std::string& kind) {
  static constexpr std::array<const char*, 6> kKinds = {
      // TRANSLATORS: an operation of the history, in a row of the History window or a message
      TrNoop("apply"),        TrNoop("remove"),  TrNoop("batch"),
      TrNoop("batch remove"), TrNoop("restore"), TrNoop("undo")};
  for (const char* known : kKinds) {
    if (kind == known) {
      return Tr(known);
    }
  }
  return kind;
}

}  // namespace varnock
