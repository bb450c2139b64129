#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnock {

// The first value, in file order, of the key `keyPath` (single "\" between its parts, letter
// case ignored) in the text of a Wine registry file such as system.reg. Given as RegEnumValueA
// gives it with a 256-byte data area: the data's characters up to the first NUL. None when the
// key has no value, the value's type is not understood, or its data does not fit.
std::optional<std::string> FirstRegistryValue(std::string_view fileText, std::string_view keyPath);

}  // namespace varnock
