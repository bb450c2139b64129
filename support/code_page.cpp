#include "support/code_page.h"

#include <algorithm>

#include "support/code_page_table.h"
#include "support/utf8.h"

namespace varnock {

namespace {

constexpr std::uint32_t kInvalid = 0xFFFFFFFF;

// Decodes the character at `at` and moves past it; an invalid byte gives kInvalid and is
// skipped alone.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<std::uint8_t>(text[at++]);
  if (lead < 0x80) {
    return lead;
  }
  std::size_t extra = 0;
  std::uint32_t codePoint = 0;
  std::uint32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, codePoint = lead & 0x1Fu, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, codePoint = lead & 0x0Fu, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, codePoint = lead & 0x07u, smallest = 0x10000;
  } else {
    return kInvalid;
  }
  if (at + extra > text.size()) {
    return kInvalid;
  }
  for (std::size_t i = 0; i < extra; ++i) {
    const auto next = static_cast<std::uint8_t>(text[at + i]);
    if ((next & 0xC0) != 0x80) {
      return kInvalid;
    }
    codePoint = (codePoint << 6) | (next & 0x3Fu);
  }
  if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint < 0xE000)) {
    return kInvalid;
  }
  at += extra;
  return codePoint;
}

}  // namespace

std::string AnsiByteToUtf8(std::uint8_t byte) {
  std::string text;
  AppendUtf8(AnsiByteToCodePoint(byte), text);
  return text;
}

std::string Utf8ToAnsi(std::string_view text) {
  std::string ansi;
  ansi.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const std::uint32_t codePoint = NextCodePoint(text, at);
    const std::optional<std::uint8_t> byte =
        codePoint == kInvalid ? std::nullopt : CodePointToAnsiByte(codePoint);
    ansi.push_back(byte ? static_cast<char>(*byte) : '?');
  }
  return ansi;
}

std::string AnsiToUtf8(std::string_view ansi) {
  // Plain ASCII, as almost every patch text is, stands for itself in every code page.
  if (std::all_of(ansi.begin(), ansi.end(),
                  [](char c) { return static_cast<std::uint8_t>(c) < 0x80; })) {
    return std::string(ansi);
  }
  std::string text;
  text.reserve(ansi.size());
  for (const char c : ansi) {
    AppendUtf8(AnsiByteToCodePoint(static_cast<std::uint8_t>(c)), text);
  }
  return text;
}

}  // namespace varnock
