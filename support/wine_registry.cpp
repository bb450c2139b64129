#include "support/wine_registry.h"

#include <cstdint>
#include <vector>

#include "support/bytes.h"
#include "support/code_page.h"
#include "support/paths.h"
#include "support/utf8.h"

namespace varnock {

namespace {

constexpr std::size_t kDataArea = 256;

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// Reads up to `most` digits of the base at `at`; the value of what was read.
std::uint32_t ReadNumber(std::string_view text, std::size_t& at, int base, std::size_t most) {
  std::uint32_t value = 0;
  for (std::size_t read = 0; read < most && at < text.size(); ++read, ++at) {
    const int digit = HexDigit(text[at]);
    if (digit < 0 || digit >= base) {
      break;
    }
    value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
  }
  return value;
}

char16_t ControlEscape(char c) {
  switch (c) {
    case 'a':
      return 7;
    case 'b':
      return 8;
    case 't':
      return 9;
    case 'n':
      return 10;
    case 'v':
      return 11;
    case 'f':
      return 12;
    case 'r':
      return 13;
    case 'e':
      return 27;
    default:
      return static_cast<char16_t>(static_cast<unsigned char>(c));
  }
}

// An escaped text from `at` up to the unescaped `end` character, which is passed over.
// Wine writes "\\" and an escaped end character, "\n"-style controls, octal and "\x" UTF-16
// units.
std::optional<std::u16string> Unescape(std::string_view text, std::size_t& at, char end) {
  std::u16string units;
  while (at < text.size()) {
    const char c = text[at++];
    if (c == end) {
      return units;
    }
    if (c != '\\' || at >= text.size()) {
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
      continue;
    }
    const char next = text[at];
    if (next == 'x') {
      ++at;
      units.push_back(static_cast<char16_t>(ReadNumber(text, at, 16, 4)));
    } else if (next >= '0' && next <= '7') {
      units.push_back(static_cast<char16_t>(ReadNumber(text, at, 8, 3)));
    } else {
      ++at;
      units.push_back(ControlEscape(next));
    }
  }
  return std::nullopt;
}

std::optional<std::string> KeyOfLine(std::string_view line) {
  if (line.empty() || line[0] != '[') {
    return std::nullopt;
  }
  std::size_t at = 1;
  const auto key = Unescape(line, at, ']');
  return key ? std::optional<std::string>(Utf16ToUtf8(*key)) : std::nullopt;
}

bool IsValueLine(std::string_view line) {
  return !line.empty() && (line[0] == '@' || line[0] == '"');
}

// The text of a string value, as the 256-byte data area takes it.
std::optional<std::string> StringData(const std::u16string& units) {
  const std::u16string text = units.substr(0, units.find(u'\0'));
  if (units.size() + 1 > kDataArea) {
    return std::nullopt;
  }
  return Utf16ToUtf8(text);
}

std::optional<std::string> BinaryData(const Bytes& bytes, bool utf16) {
  if (bytes.size() > kDataArea) {
    return std::nullopt;
  }
  if (utf16) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      units.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return Utf16ToUtf8(units.substr(0, units.find(u'\0')));
  }
  std::string ansi(bytes.begin(), bytes.end());
  return AnsiToUtf8(ansi.substr(0, ansi.find('\0')));
}

// "hex:" and "hex(N):" data, whose lines end in "\" when the next line goes on.
Bytes HexBytes(const std::vector<std::string_view>& lines, std::size_t index, std::size_t at) {
  Bytes bytes;
  std::string_view line = lines[index];
  for (;;) {
    while (at < line.size() && (line[at] == ' ' || line[at] == ',')) {
      ++at;
    }
    if (at < line.size() && line[at] == '\\' && index + 1 < lines.size()) {
      line = lines[++index];
      at = 0;
      continue;
    }
    if (at + 1 >= line.size() || HexDigit(line[at]) < 0) {
      return bytes;
    }
    bytes.push_back(static_cast<std::uint8_t>(ReadNumber(line, at, 16, 2)));
  }
}

std::optional<std::string> ValueData(const std::vector<std::string_view>& lines, std::size_t index,
                                     std::size_t at) {
  const std::string_view data = lines[index].substr(at);
  if (data.starts_with("str(")) {
    at = lines[index].find(':', at);
    if (at == std::string_view::npos || at + 1 >= lines[index].size()) {
      return std::nullopt;
    }
    ++at;
  }
  if (lines[index][at] == '"') {
    ++at;
    const auto units = Unescape(lines[index], at, '"');
    return units ? StringData(*units) : std::nullopt;
  }
  if (data.starts_with("dword:")) {
    at += 6;
    const std::uint32_t value = ReadNumber(lines[index], at, 16, 8);
    return BinaryData(
        Bytes{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)},
        false);
  }
  if (data.starts_with("hex")) {
    const bool utf16 =
        data.starts_with("hex(1):") || data.starts_with("hex(2):") || data.starts_with("hex(7):");
    const std::size_t colon = data.find(':');
    if (colon == std::string_view::npos) {
      return std::nullopt;
    }
    return BinaryData(HexBytes(lines, index, at + colon + 1), utf16);
  }
  return std::nullopt;
}

// A value line: @=DATA or "Name"=DATA.
std::optional<std::string> ParseValue(const std::vector<std::string_view>& lines,
                                      std::size_t index) {
  const std::string_view line = lines[index];
  std::size_t at = 1;
  if (line[0] == '"' && !Unescape(line, at, '"')) {
    return std::nullopt;
  }
  if (at >= line.size() || line[at] != '=' || at + 1 >= line.size()) {
    return std::nullopt;
  }
  return ValueData(lines, index, at + 1);
}

}  // namespace

std::optional<std::string> FirstRegistryValue(std::string_view fileText, std::string_view keyPath) {
  const std::vector<std::string_view> lines = SplitLines(fileText);
  bool inKey = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto key = KeyOfLine(lines[i])) {
      inKey = EqualsIgnoreCase(*key, keyPath);
    } else if (inKey && IsValueLine(lines[i])) {
      return ParseValue(lines, i);
    }
  }
  return std::nullopt;
}

}  // namespace varnock
