#include "tools/patch_source.h"

#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "support/files.h"

namespace varnock::tools {

namespace {

const std::map<std::string, std::int32_t, std::less<>> kFlags = {
    {"Dynamic", Dynamic},
    {"HasArgument", HasArgument},
    {"RecordAlignment", RecordAlignment},
    {"DontVerifySource", DontVerifySource},
    {"SameExeVersionOnly", SameExeVersionOnly},
};

const std::map<std::string, std::int32_t, std::less<>> kArgumentTypes = {
    {"TextString", TextString}, {"TextStringZ", TextStringZ}, {"NumByte", NumByte},
    {"NumWord", NumWord},       {"NumLong", NumLong},         {"NumFloat", NumFloat},
};

std::vector<std::string> Words(std::string_view text) {
  std::istringstream in{std::string(text)};
  std::vector<std::string> words;
  for (std::string word; in >> word;) {
    words.push_back(word);
  }
  return words;
}

// A number in decimal or, with 0x, in hexadecimal, from 0 to 2^31 - 1.
std::optional<std::int32_t> Number(const std::string& word) {
  const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
  const std::string digits = hex ? word.substr(2) : word;
  if (digits.empty() || digits.size() > 10) {
    return std::nullopt;
  }
  std::int64_t value = 0;
  for (char c : digits) {
    const int digit = std::isdigit(static_cast<unsigned char>(c))
                          ? c - '0'
                          : (hex && std::isxdigit(static_cast<unsigned char>(c))
                                 ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                                 : -1);
    if (digit < 0) {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + digit;
    if (value > INT32_MAX) {
      return std::nullopt;
    }
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::uint8_t> HexByte(const std::string& word) {
  const auto value = Number("0x" + word);
  if (word.size() != 2 || !value) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(*value);
}

bool ParseZone(const std::string& value, PatchZone& zone, std::string& error) {
  const std::vector<std::string> words = Words(value);
  std::size_t arrow = 0;
  while (arrow < words.size() && words[arrow] != "->") {
    ++arrow;
  }
  const std::optional<std::int32_t> offset = words.empty() ? std::nullopt : Number(words[0]);
  if (!offset || arrow == words.size()) {
    error = "a zone is written as: offset original bytes -> patched bytes";
    return false;
  }
  zone.Offset = *offset;
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (i == arrow) {
      continue;
    }
    const std::optional<std::uint8_t> byte = HexByte(words[i]);
    if (!byte) {
      error = "not a byte in hexadecimal: " + words[i];
      return false;
    }
    (i < arrow ? zone.OriginalBytes : zone.PatchBytes).push_back(*byte);
  }
  if (zone.OriginalBytes.empty() || zone.OriginalBytes.size() != zone.PatchBytes.size()) {
    error = "a zone needs as many patched bytes as original bytes, at least one";
    return false;
  }
  zone.Length = static_cast<std::int32_t>(zone.OriginalBytes.size());
  return true;
}

bool ParseNames(const std::string& value,
                const std::map<std::string, std::int32_t, std::less<>>& names, std::int32_t& bits,
                std::string& error) {
  for (const std::string& word : Words(value)) {
    const auto it = names.find(word);
    if (it == names.end()) {
      error = "unknown name: " + word;
      return false;
    }
    bits |= it->second;
  }
  return true;
}

struct SourceReader {
  PatchRecord record;
  std::vector<std::string> description;
  bool hasExe = false;
  bool hasVersion = false;

  bool Line(const std::string& key, const std::string& value, std::string& error) {
    if (key == "exe") {
      record.ExeName = value;
      hasExe = !value.empty();
    } else if (key == "version") {
      record.ExeVersion = value;
      hasVersion = true;
    } else if (key == "description") {
      description.push_back(value);
    } else if (key == "flags") {
      return ParseNames(value, kFlags, record.Flags, error);
    } else if (key == "argument-type") {
      record.ArgType = 0;
      return ParseNames(value, kArgumentTypes, record.ArgType, error);
    } else if (key == "argument-max-length" || key == "argument-offset") {
      const std::optional<std::int32_t> number = Number(value);
      if (!number) {
        error = "not a number: " + value;
        return false;
      }
      if (key == "argument-offset") {
        record.ArgOffsets.push_back(*number);
      } else {
        record.ArgMaxLength = *number;
      }
    } else if (key == "zone") {
      PatchZone zone;
      if (!ParseZone(value, zone, error)) {
        return false;
      }
      record.Zones.push_back(zone);
    } else {
      error = "unknown key: " + key;
      return false;
    }
    return true;
  }

  bool Finish(std::string& error) {
    if (!hasExe || !hasVersion) {
      error = "a patch needs an exe and a version line";
      return false;
    }
    record.ZoneCount = static_cast<std::int32_t>(record.Zones.size());
    record.ArgOffsetCount = static_cast<std::int32_t>(record.ArgOffsets.size());
    for (std::size_t i = 0; i < description.size(); ++i) {
      record.Description += (i == 0 ? "" : "\r\n") + description[i];
    }
    return true;
  }
};

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) {
    return {};
  }
  return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

}  // namespace

bool ParsePatchSource(const std::string& text, PatchRecord& record, std::string& error) {
  SourceReader reader;
  std::istringstream in(text);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::string content = Trimmed(line);
    if (content.empty() || content[0] == '#') {
      continue;
    }
    const std::size_t colon = content.find(':');
    std::string lineError;
    if (colon == std::string::npos) {
      lineError = "expected \"key: value\"";
    } else {
      reader.Line(Trimmed(content.substr(0, colon)), Trimmed(content.substr(colon + 1)), lineError);
    }
    if (!lineError.empty()) {
      error = "line " + std::to_string(number) + ": " + lineError;
      return false;
    }
  }
  if (!reader.Finish(error)) {
    return false;
  }
  record = reader.record;
  return true;
}

bool ReadPatchSource(const std::string& path, PatchRecord& record, std::string& error) {
  Bytes content;
  if (!ReadWholeFile(path, content, error)) {
    error = "cannot read " + path + ": " + error;
    return false;
  }
  if (!ParsePatchSource(std::string(content.begin(), content.end()), record, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace varnock::tools
