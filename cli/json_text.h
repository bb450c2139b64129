#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>

namespace varnock::cli {

// The JSON text of `value`, indented by two, in ASCII only: every control character (C0, DEL,
// C1) and every other character outside ASCII is written as \uXXXX, so that no name or text
// read from a file reaches the terminal raw; bytes that are not UTF-8 become U+FFFD.
std::string JsonText(const nlohmann::json& value);
// The same on one line, for outputs written one item at a time.
std::string JsonLine(const nlohmann::json& value);

}  // namespace varnock::cli
