#pragma once

#include <string>
#include <string_view>

namespace varnock {

// A history entry as the user reads it: its time in local time, its operation in the user's
// language.

// A history row's time as the user's language writes it: the recorded UTC time
// ("2026-12-07T17:30:00Z") in local time, written by `format` as strftime takes it. With the
// recorded form itself as the format (English), or a time that is not of that form, the time
// is shown as recorded.
std::string ShownTime(const std::string& recorded, std::string_view format);

// The format of the user's language for ShownTime.
std::string_view TimeFormat();

// The recorded time written by the user's language's format.
std::string ShownTime(const std::string& recorded);

// An operation as the record names it ("apply", "batch remove", ...) in the user's language.
std::string OperationText(const std::string& kind);

}  // namespace varnock
