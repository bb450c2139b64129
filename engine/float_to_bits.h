#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/user_interface.h"

namespace varnock {

// The IEEE-754 single-precision bit pattern of a text in the user's locale number format;
// std::nullopt after the conversion message.
std::optional<std::int32_t> FloatToBits(const std::string& text, UserInterface& ui);

}  // namespace varnock
