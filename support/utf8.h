#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnock {

// Appends the UTF-8 form of one Unicode code point.
void AppendUtf8(std::uint32_t codePoint, std::string& out);

// The UTF-8 text of UTF-16 code units; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

}  // namespace varnock
