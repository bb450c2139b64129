#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnock {

// Appends the UTF-8 form of one Unicode code point.
void AppendUtf8(std::uint32_t codePoint, std::string& out);

// The UTF-8 text of UTF-16 code units; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

// The length of the well-formed UTF-8 sequence at the start of `text`, with its code point;
// 0 when the first byte starts none (or `text` is empty).
std::size_t DecodeUtf8(std::string_view text, std::uint32_t& codePoint);

// The UTF-16 code units of a UTF-8 text; every byte that does not belong to a well-formed
// sequence becomes U+FFFD, so no text is refused.
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace varnock
