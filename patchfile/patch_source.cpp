#include "patchfile/patch_source.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "patchfile/load_patch.h"
#include "patchfile/patch_writer.h"
#include "patchfile/source_text.h"
#include "support/files.h"
#include "support/translation.h"

namespace varnock {

namespace {

void AddLine(std::string& text, std::string_view key, const std::string& value) {
  text.append(key).append(value.empty() ? ":" : ": ").append(value).append("\n");
}

std::vector<std::string> DescriptionLines(const std::string& description) {
  std::vector<std::string> lines;
  if (description.empty()) {
    return lines;
  }
  std::size_t start = 0;
  for (std::size_t end; (end = description.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    lines.push_back(description.substr(start, end - start));
  }
  lines.push_back(description.substr(start));
  return lines;
}

std::string ZoneText(const PatchZone& zone) {
  return HexNumber(zone.Offset) + " " + HexBytes(zone.OriginalBytes) + " -> " +
         HexBytes(zone.PatchBytes);
}

// Reads the lines of a source into a PatchSource, one key at a time.
class SourceParser {
 public:
  bool Line(const std::string& key, std::string_view value, std::string& error) {
    const auto handler = kHandlers.find(key);
    if (handler == kHandlers.end()) {
      error = TrFormat(
          // TRANSLATORS: the words in parentheses are the keys of the readable format, kept as
          // they are; %1 is what the line holds instead.
          "expected a key (exe, version, flags, argument-type, argument-max-length, "
          "argument-offset, description, zone, trailing), found %1",
          {key});
      return false;
    }
    const bool repeatable = key == "description" || key == "zone" || key == "argument-offset";
    if (!repeatable && !seen_.insert(key).second) {
      // TRANSLATORS: %1 is a key of the readable format (exe, version, flags...).
      error = TrFormat("expected one %1 line, found a second", {key});
      return false;
    }
    return handler->second(*this, value, error);
  }

  bool Finish(PatchSource& source, std::string& error) {
    if (seen_.count("exe") == 0 || seen_.count("version") == 0) {
      error = Tr("expected an exe line and a version line, found the end of the source");
      return false;
    }
    PatchRecord& record = source_.record;
    for (std::size_t i = 0; i < description_.size(); ++i) {
      record.Description += (i == 0 ? "" : "\r\n") + description_[i];
    }
    source = std::move(source_);
    return true;
  }

 private:
  using Handler = std::function<bool(SourceParser&, std::string_view, std::string&)>;
  static const std::map<std::string, Handler, std::less<>> kHandlers;

  static bool Number(std::string_view value, std::int32_t& number, std::string& error) {
    const std::vector<std::string> words = SourceWords(value);
    const auto parsed = words.size() == 1 ? ParseSourceNumber(words[0]) : std::nullopt;
    if (!parsed) {
      error = words.empty()
                  ? Tr("expected a number from -2147483648 to 2147483647, found nothing")
                  : TrFormat("expected a number from -2147483648 to 2147483647, found %1", {value});
      return false;
    }
    number = *parsed;
    return true;
  }

  bool Zone(std::string_view value, std::string& error) {
    std::vector<std::string> words = SourceWords(value);
    const auto arrow = std::find(words.begin(), words.end(), "->");
    PatchZone zone;
    if (words.empty() || arrow == words.end() || !Number(words[0], zone.Offset, error)) {
      error = TrFormat("expected an offset, the original bytes, -> and the patched bytes, found %1",
                       {value});
      return false;
    }
    if (!ParseHexBytes({words.begin() + 1, arrow}, zone.OriginalBytes, error) ||
        !ParseHexBytes({arrow + 1, words.end()}, zone.PatchBytes, error)) {
      return false;
    }
    if (zone.OriginalBytes.empty() || zone.OriginalBytes.size() != zone.PatchBytes.size()) {
      error = TrFormat(
          // TRANSLATORS: %1 is the number of original bytes, %2 that of patched bytes.
          "expected as many patched bytes as original bytes, at least one, found %1 "
          "and %2",
          {std::to_string(zone.OriginalBytes.size()), std::to_string(zone.PatchBytes.size())});
      return false;
    }
    zone.Length = static_cast<std::int32_t>(zone.OriginalBytes.size());
    source_.record.Zones.push_back(zone);
    return true;
  }

  bool Trailing(std::string_view value, std::string& error) {
    const std::vector<std::string> words = SourceWords(value);
    if (words.empty()) {
      error = Tr("expected the bytes after the last zone, found nothing");
      return false;
    }
    return ParseHexBytes(words, source_.trailing, error);
  }

  PatchSource source_;
  std::vector<std::string> description_;
  std::set<std::string, std::less<>> seen_;
};

const std::map<std::string, SourceParser::Handler, std::less<>> SourceParser::kHandlers = {
    {"exe", [](SourceParser& p, std::string_view v,
               std::string& e) { return UnescapeSourceText(v, p.source_.record.ExeName, e); }},
    {"version",
     [](SourceParser& p, std::string_view v, std::string& e) {
       return UnescapeSourceText(v, p.source_.record.ExeVersion, e);
     }},
    {"description",
     [](SourceParser& p, std::string_view v, std::string& e) {
       return UnescapeSourceText(v, p.description_.emplace_back(), e);
     }},
    {"flags",
     [](SourceParser& p, std::string_view v, std::string& e) {
       const auto flags = ParseFlagNames(v, e);
       p.source_.record.Flags = flags.value_or(0);
       return flags.has_value();
     }},
    {"argument-type",
     [](SourceParser& p, std::string_view v, std::string& e) {
       const auto type = ParseArgumentTypeName(v, e);
       p.source_.record.ArgType = type.value_or(0);
       return type.has_value();
     }},
    {"argument-max-length",
     [](SourceParser& p, std::string_view v, std::string& e) {
       return Number(v, p.source_.record.ArgMaxLength, e);
     }},
    {"argument-offset",
     [](SourceParser& p, std::string_view v, std::string& e) {
       return Number(v, p.source_.record.ArgOffsets.emplace_back(), e);
     }},
    {"zone", [](SourceParser& p, std::string_view v, std::string& e) { return p.Zone(v, e); }},
    {"trailing",
     [](SourceParser& p, std::string_view v, std::string& e) { return p.Trailing(v, e); }},
};

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ParseLine(SourceParser& parser, std::string_view line, std::string& error) {
  const std::string_view content = Trimmed(line);
  if (content.empty() || content[0] == '#') {
    return true;
  }
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) {
    error = TrFormat("expected \"key: value\", found %1", {content});
    return false;
  }
  std::string_view value = line.substr(colon + 1);
  value.remove_prefix(!value.empty() && value[0] == ' ' ? 1 : 0);
  return parser.Line(std::string(Trimmed(line.substr(0, colon))), value, error);
}

}  // namespace

Bytes CompiledPatch(const PatchSource& source) {
  Bytes bytes = WritePatch(source.record);
  bytes.insert(bytes.end(), source.trailing.begin(), source.trailing.end());
  return bytes;
}

std::string DecompilePatch(const PatchSource& source) {
  const PatchRecord& record = source.record;
  std::string text;
  AddLine(text, "exe", EscapeSourceText(record.ExeName));
  AddLine(text, "version", EscapeSourceText(record.ExeVersion));
  AddLine(text, "flags", FlagNames(record.Flags));
  if (record.ArgType != 0) {
    AddLine(text, "argument-type", ArgumentTypeName(record.ArgType));
  }
  if (record.ArgMaxLength != 0) {
    AddLine(text, "argument-max-length", std::to_string(record.ArgMaxLength));
  }
  for (const std::int32_t offset : record.ArgOffsets) {
    AddLine(text, "argument-offset", HexNumber(offset));
  }
  for (const std::string& line : DescriptionLines(record.Description)) {
    AddLine(text, "description", EscapeSourceText(line));
  }
  for (const PatchZone& zone : record.Zones) {
    AddLine(text, "zone", ZoneText(zone));
  }
  if (!source.trailing.empty()) {
    AddLine(text, "trailing", HexBytes(source.trailing));
  }
  return text;
}

bool ParsePatchSource(std::string_view text, PatchSource& source, std::string& error) {
  SourceParser parser;
  std::size_t number = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);  // the byte-order mark some editors put before UTF-8 text
  }
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end;
    std::string_view line = text.substr(start, end - start);
    line.remove_suffix(!line.empty() && line.back() == '\r' ? 1 : 0);
    ++number;
    if (!ParseLine(parser, line, error)) {
      // TRANSLATORS: %1 is a line number of the readable source, %2 what is wrong with it.
      error = TrFormat("line %1: %2", {std::to_string(number), error});
      return false;
    }
    start = end + 1;
  }
  if (!parser.Finish(source, error)) {
    // TRANSLATORS: %1 is a line number of the readable source, %2 what is wrong with it.
    error = TrFormat("line %1: %2", {std::to_string(number + 1), error});
    return false;
  }
  return true;
}

bool ReadPatchSourceFile(const std::string& path, PatchSource& source, std::string& error) {
  Bytes content;
  if (!ReadWholeFile(path, content, error)) {
    // TRANSLATORS: %1 is a file's path, %2 the reason.
    error = TrFormat("cannot read %1: %2", {path, error});
    return false;
  }
  if (!ParsePatchSource(
          std::string_view(reinterpret_cast<const char*>(content.data()), content.size()), source,
          error)) {
    // TRANSLATORS: %1 is a file's path, %2 what is wrong with its content.
    error = TrFormat("%1: %2", {path, error});
    return false;
  }
  return true;
}

bool ReadPatchAsSource(const std::string& path, PatchSource& source, UserInterface& ui) {
  PatchRecord record;
  if (!LoadPatch(path, record, ui)) {
    return false;
  }
  Bytes file;
  std::string error;
  if (!ReadWholeFile(path, file, error)) {
    ui.ShowMessage(
        // TRANSLATORS: %1 is the patch file's path, %2 the reason.
        TrFormatCrLf("ERROR: cannot read the patch file %1\nError mexage: %2", {path, error}),
        MessageIcon::Critical);
    return false;
  }
  const Bytes written = WritePatch(record);
  if (written.size() > file.size() || !std::equal(written.begin(), written.end(), file.begin())) {
    ui.ShowMessage(TrFormat("ERROR: the texts of the patch file %1 do not read back byte for byte "
                            "in this system's ANSI code page",
                            {path}),
                   MessageIcon::Critical);
    return false;
  }
  source.record = std::move(record);
  source.trailing.assign(file.begin() + static_cast<std::ptrdiff_t>(written.size()), file.end());
  return true;
}

}  // namespace varnock
