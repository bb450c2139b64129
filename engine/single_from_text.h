#pragma once

#include <optional>
#include <string>

#include "engine/number_text.h"

namespace varnock {

// The single-precision value nearest to a number (ties to even); values
// too small for single precision become zero of the same sign. std::nullopt, with a
// description in `error`, when the magnitude is beyond the single-precision range.
std::optional<float> SingleFromText(const NumberText& number, std::string& error);

}  // namespace varnock
