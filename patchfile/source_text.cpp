#include "patchfile/source_text.h"

#include <array>
#include <cstdlib>
#include <sstream>

#include "patchfile/patch_record.h"
#include "support/code_page.h"
#include "support/code_page_table.h"
#include "support/hex_text.h"
#include "support/translation.h"

namespace varnock {

namespace {

struct Name {
  const char* name;
  std::int32_t value;
};

constexpr std::array<Name, 5> kFlagNames = {{{"Dynamic", Dynamic},
                                             {"HasArgument", HasArgument},
                                             {"RecordAlignment", RecordAlignment},
                                             {"DontVerifySource", DontVerifySource},
                                             {"SameExeVersionOnly", SameExeVersionOnly}}};

constexpr std::array<Name, 6> kTypeNames = {{{"TextString", TextString},
                                             {"TextStringZ", TextStringZ},
                                             {"NumByte", NumByte},
                                             {"NumWord", NumWord},
                                             {"NumLong", NumLong},
                                             {"NumFloat", NumFloat}}};

template <std::size_t N>
std::optional<std::int32_t> Lookup(const std::array<Name, N>& names, std::string_view word) {
  for (const Name& entry : names) {
    if (word == entry.name) {
      return entry.value;
    }
  }
  return std::nullopt;
}

template <std::size_t N>
std::string NameList(const std::array<Name, N>& names) {
  std::string list;
  for (const Name& entry : names) {
    list += (list.empty() ? "" : ", ") + std::string(entry.name);
  }
  return list;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// A character that reads badly or not at all in an editor: controls of either range, the
// no-break blank, and a byte that is no character on its own in the code page.
bool NeedsEscape(std::uint8_t byte) {
  const std::uint32_t codePoint = AnsiByteToCodePoint(byte);
  return codePoint < 0x20 || codePoint == 0x7F || (codePoint >= 0x80 && codePoint <= 0xA0) ||
         (codePoint == '?' && byte != '?');
}

// Appends the ANSI bytes of a run of literal characters; false when the code page cannot hold
// one of them.
bool AppendLiteral(std::string_view literal, std::string& ansi) {
  const std::string bytes = Utf8ToAnsi(literal);
  if (AnsiToUtf8(bytes) != literal) {
    return false;
  }
  ansi += bytes;
  return true;
}

}  // namespace

std::string EscapeSourceText(std::string_view text) {
  const std::string ansi = Utf8ToAnsi(text);
  std::string value;
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(ansi[i]);
    const bool edgeBlank = byte == ' ' && (i == 0 || i + 1 == ansi.size());
    if (byte == '\\') {
      value += "\\\\";
    } else if (edgeBlank || NeedsEscape(byte)) {
      value += "\\x" + HexDigits(byte, 2);
    } else {
      value += AnsiByteToUtf8(byte);
    }
  }
  return value;
}

bool UnescapeSourceText(std::string_view value, std::string& text, std::string& error) {
  std::string ansi;
  std::size_t literal = 0;
  for (std::size_t at = 0; at <= value.size(); ++at) {
    if (at < value.size() && value[at] != '\\') {
      continue;
    }
    if (!AppendLiteral(value.substr(literal, at - literal), ansi)) {
      error = TrFormat("expected characters of the ANSI code page, found %1",
                       {value.substr(literal, at - literal)});
      return false;
    }
    if (at == value.size()) {
      break;
    }
    const std::string_view escape = value.substr(at, 4);
    if (escape.substr(0, 2) == "\\\\") {
      ansi += '\\';
      at += 1;
    } else if (escape.size() == 4 && escape[1] == 'x' && HexDigit(escape[2]) >= 0 &&
               HexDigit(escape[3]) >= 0) {
      ansi += static_cast<char>(HexDigit(escape[2]) * 16 + HexDigit(escape[3]));
      at += 3;
    } else {
      error = TrFormat("expected \\\\ or \\x and two hexadecimal digits, found %1", {escape});
      return false;
    }
    literal = at + 1;
  }
  text = AnsiToUtf8(ansi);
  return true;
}

std::string HexNumber(std::int32_t value) {
  const std::int64_t wide = value;
  return (wide < 0 ? "-0x" : "0x") + HexDigits(static_cast<std::uint64_t>(std::abs(wide)));
}

std::optional<std::int32_t> ParseSourceNumber(std::string_view word, bool bitPattern) {
  const bool negative = !word.empty() && word[0] == '-';
  word.remove_prefix(negative ? 1 : 0);
  const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
  word.remove_prefix(hex ? 2 : 0);
  if (word.empty()) {
    return std::nullopt;
  }
  std::int64_t value = 0;
  for (const char c : word) {
    const int digit = HexDigit(c);
    if (digit < 0 || (!hex && digit > 9) || value > 0xFFFFFFFF) {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + digit;
  }
  value = negative ? -value : value;
  if (value >= INT32_MIN && value <= INT32_MAX) {
    return static_cast<std::int32_t>(value);
  }
  if (bitPattern && value > 0 && value <= 0xFFFFFFFF) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  return std::nullopt;
}

std::string FlagNames(std::int32_t flags) {
  std::string names;
  for (const Name& entry : kFlagNames) {
    if ((flags & entry.value) != 0) {
      names += (names.empty() ? "" : " ") + std::string(entry.name);
    }
  }
  const auto others = static_cast<std::uint32_t>(flags) & ~std::uint32_t{0x1F};
  if (others != 0) {
    names += (names.empty() ? "0x" : " 0x") + HexDigits(others);
  }
  return names.empty() ? "none" : names;
}

std::optional<std::int32_t> ParseFlagNames(std::string_view value, std::string& error) {
  const std::vector<std::string> words = SourceWords(value);
  if (words.size() == 1 && words[0] == "none") {
    return 0;
  }
  std::int32_t flags = 0;
  for (const std::string& word : words) {
    const auto bit = Lookup(kFlagNames, word);
    const auto number = bit ? bit : ParseSourceNumber(word, true);
    if (!number) {
      // TRANSLATORS: "none" and the names in parentheses (%1) are words of the readable format,
      // kept as they are; %2 is the word found instead.
      error = TrFormat("expected none, or flag names (%1) and numbers, found %2",
                       {NameList(kFlagNames), word});
      return std::nullopt;
    }
    flags |= *number;
  }
  if (words.empty()) {
    error = Tr("expected none, or flag names, found nothing");
    return std::nullopt;
  }
  return flags;
}

std::string ArgumentTypeName(std::int32_t type) {
  for (const Name& entry : kTypeNames) {
    if (entry.value == type) {
      return entry.name;
    }
  }
  return type == 0 ? "none" : std::to_string(type);
}

std::optional<std::int32_t> ParseArgumentTypeName(std::string_view value, std::string& error) {
  const std::vector<std::string> words = SourceWords(value);
  const std::string word = words.size() == 1 ? words[0] : std::string(value);
  auto type = words.size() == 1 ? Lookup(kTypeNames, word) : std::nullopt;
  if (!type && words.size() == 1) {
    type = word == "none" ? std::optional<std::int32_t>(0) : ParseSourceNumber(word);
  }
  if (!type) {
    if (word.empty()) {
      // TRANSLATORS: "none" and the names in parentheses (%1) are words of the readable
      // format, kept as they are.
      error = TrFormat("expected none, an argument type (%1) or a number, found nothing",
                       {NameList(kTypeNames)});
    } else {
      // TRANSLATORS: "none" and the names in parentheses (%1) are words of the readable
      // format, kept as they are; %2 is the word found instead.
      error = TrFormat("expected none, an argument type (%1) or a number, found %2",
                       {NameList(kTypeNames), word});
    }
  }
  return type;
}

std::string HexBytes(const Bytes& bytes) {
  return varnock::HexBytes(bytes, " ");
}

bool ParseHexBytes(const std::vector<std::string>& words, Bytes& bytes, std::string& error) {
  for (const std::string& word : words) {
    if (word.size() != 2 || HexDigit(word[0]) < 0 || HexDigit(word[1]) < 0) {
      error = TrFormat("expected a byte as two hexadecimal digits, found %1", {word});
      return false;
    }
    bytes.push_back(static_cast<std::uint8_t>(HexDigit(word[0]) * 16 + HexDigit(word[1])));
  }
  return true;
}

std::vector<std::string> SourceWords(std::string_view value) {
  std::istringstream in{std::string(value)};
  std::vector<std::string> words;
  for (std::string word; in >> word;) {
    words.push_back(word);
  }
  return words;
}

}  // namespace varnock
