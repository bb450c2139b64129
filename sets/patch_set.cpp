#include "sets/patch_set.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <set>

#include "support/files.h"
#include "support/paths.h"
#include "support/translation.h"
#include "support/utf8.h"

namespace varnock {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kArgumentMark = " | ";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimStart(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  return text;
}

std::string Line(std::size_t number, const std::string& what) {
  // TRANSLATORS: %1 is a line number of the set file, %2 what is wrong on that line
  return TrFormat("line %1: %2", {std::to_string(number), what});
}

// Why a line's characters cannot be read, told of a line of the set or of the argument on it;
// empty when they can.
std::string CharacterError(std::string_view line, bool argument = false) {
  if (line.find('\0') != std::string_view::npos) {
    return argument ? Tr("the argument holds a NUL character") : Tr("a NUL character");
  }
  while (!line.empty()) {
    std::uint32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(line, codePoint);
    if (length == 0) {
      return argument ? Tr("the argument holds invalid UTF-8") : Tr("invalid UTF-8");
    }
    if (codePoint < 0x20 && codePoint != '\t') {
      return argument ? Tr("the argument holds a control character") : Tr("a control character");
    }
    line.remove_prefix(length);
  }
  return {};
}

// The version the first line names, or why it names none.
std::string FirstLineError(std::string_view line) {
  const std::string expected = std::string(kPatchSetMagic) + " " + std::to_string(kPatchSetVersion);
  if (line == expected) {
    return {};
  }
  const std::string prefix = std::string(kPatchSetMagic) + " ";
  int version = 0;
  if (line.starts_with(prefix)) {
    const std::string_view number = line.substr(prefix.size());
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), version);
    if (ec == std::errc() && end == number.data() + number.size() && version > 0) {
      // TRANSLATORS: %1 is the version of the set file, %2 the version this program reads
      return TrFormat("a patch set of version %1; this Varnock reads version %2",
                      {std::to_string(version), std::to_string(kPatchSetVersion)});
    }
  }
  // TRANSLATORS: %1 is the first line a set file must have
  return TrFormat("not a patch set (its first line must be \"%1\")", {expected});
}

// Reads the lines after the first one into a set.
class SetReader {
 public:
  explicit SetReader(PatchSet& set) : set_(set) {}

  // False with the error for line `number`.
  bool Read(std::size_t number, std::string_view line, std::string& error) {
    const std::string_view content = TrimStart(line);
    if (content.empty() || content.front() == '#') {
      return true;
    }
    const std::size_t colon = content.find(':');
    if (colon == std::string_view::npos) {
      error = Line(number, Tr("not a line of a set (key: value)"));
      return false;
    }
    const std::string key(content.substr(0, colon));
    const std::string_view value = TrimStart(content.substr(colon + 1));
    error = key == "patch" ? ReadPatch(number, value) : ReadField(key, value);
    if (!error.empty()) {
      error = Line(number, error);
    }
    return error.empty();
  }

  // Why the set read is incomplete; empty when it is whole.
  std::string Missing() const {
    for (const char* key : {"program", "signature", "sha256"}) {
      if (!seen_.contains(key)) {
        // TRANSLATORS: %1 is a key of the set file (program, signature, sha256)
        return TrFormat("the set has no \"%1:\" line", {key});
      }
    }
    return {};
  }

 private:
  std::string ReadField(const std::string& key, std::string_view value) {
    std::string* field = key == "program"           ? &set_.program
                         : key == "signature"       ? &set_.signature
                         : key == "sha256"          ? &set_.sha256
                         : key == "original-sha256" ? &set_.originalSha256
                                                    : nullptr;
    if (field == nullptr) {
      return TrFormat("unknown key \"%1\"", {key});
    }
    if (!seen_.insert(key).second) {
      return TrFormat("a second \"%1:\" line", {key});
    }
    if (value.empty()) {
      return TrFormat("\"%1:\" without a value", {key});
    }
    if (key.ends_with("sha256")) {
      const auto sum = ParseSha256(value);
      if (!sum) {
        return TrFormat("\"%1\" is not a SHA-256 (64 hexadecimal digits)", {value});
      }
      *field = *sum;
      return {};
    }
    *field = value;
    return {};
  }

  std::string ReadPatch(std::size_t number, std::string_view value) {
    if (set_.patches.size() == kMaxPatchSetPatches) {
      return TrFormat("more than %1 patches", {std::to_string(kMaxPatchSetPatches)});
    }
    const std::size_t blank = value.find(' ');
    const std::string_view sumText = value.substr(0, blank);
    const auto sum = ParseSha256(sumText);
    if (!sum) {
      return TrFormat("\"%1\" is not a SHA-256 (64 hexadecimal digits)", {sumText});
    }
    SetPatch patch{{}, *sum, std::nullopt, number};
    std::string_view rest = blank == std::string_view::npos ? "" : TrimStart(value.substr(blank));
    const std::size_t mark = rest.find(kArgumentMark);
    patch.name = rest.substr(0, mark);
    if (std::string error = PatchNameError(patch.name); !error.empty()) {
      return error;
    }
    if (mark != std::string_view::npos) {
      patch.argument = rest.substr(mark + kArgumentMark.size());
      if (std::string error = ArgumentTextError(*patch.argument); !error.empty()) {
        return patch.name + ": " + error;
      }
    }
    const auto [at, added] = lines_.emplace(NameKey(patch.name), number);
    if (!added) {
      // TRANSLATORS: %1 is a patch file's name, %2 the number of the line that names it first
      return TrFormat("%1 is in the set twice (also on line %2)",
                      {patch.name, std::to_string(at->second)});
    }
    set_.patches.push_back(std::move(patch));
    return {};
  }

  PatchSet& set_;
  std::map<std::string, std::size_t, std::less<>> lines_;  // by lower-case name
  std::set<std::string, std::less<>> seen_;
};

}  // namespace

std::string NameKey(std::string_view name) {
  std::string key(name);
  std::ranges::transform(key, key.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return key;
}

std::optional<std::string> ParseSha256(std::string_view text) {
  if (text.size() != 64 || !std::ranges::all_of(text, [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
      })) {
    return std::nullopt;
  }
  return NameKey(text);
}

std::string PatchNameError(std::string_view name) {
  if (name.empty()) {
    return Tr("no patch file name");
  }
  if (name.find_first_of("/\\") != std::string_view::npos || name == "." || name == "..") {
    return TrFormat("\"%1\" is not a file name alone (no folder may be named)", {name});
  }
  const bool forbidden = std::ranges::any_of(name, [](char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
  });
  if (forbidden) {
    return TrFormat("\"%1\" holds a character that file names cannot hold", {name});
  }
  if (name.size() <= 4 || !EqualsIgnoreCase(name.substr(name.size() - 4), ".ptc")) {
    return TrFormat("\"%1\" is not a .ptc file", {name});
  }
  return {};
}

std::string ArgumentTextError(std::string_view argument) {
  if (argument.empty()) {
    return Tr("an empty argument");
  }
  if (std::string error = CharacterError(argument, true); !error.empty()) {
    return error;
  }
  return {};
}

bool ParsePatchSet(std::string_view text, PatchSet& set, std::string& error) {
  set = {};
  if (text.size() > kMaxPatchSetBytes) {
    error = Tr("the set file is larger than 1 MiB (1,048,576 bytes)");
    return false;
  }
  if (text.starts_with(kByteOrderMark)) {
    text.remove_prefix(kByteOrderMark.size());
  }
  if (std::ranges::all_of(text, [](char c) { return IsBlank(c) || c == '\r' || c == '\n'; })) {
    error = Tr("the set file is empty");
    return false;
  }
  SetReader reader(set);
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    if (std::string bad = CharacterError(line); !bad.empty()) {
      error = Line(number, bad);
      return false;
    }
    if (number == 1) {
      error = FirstLineError(line);
      if (!error.empty()) {
        error = Line(number, error);
        return false;
      }
    } else if (!reader.Read(number, line, error)) {
      return false;
    }
  }
  error = reader.Missing();
  return error.empty();
}

bool ReadPatchSetFile(const std::string& path, PatchSet& set, std::string& error) {
  std::error_code code;
  const auto size = std::filesystem::file_size(ToFsPath(path), code);
  Bytes content;
  if (!code && size > kMaxPatchSetBytes) {
    error = path + ": " + Tr("the set file is larger than 1 MiB (1,048,576 bytes)");
    return false;
  }
  if (!ReadWholeFile(path, content, error)) {
    error = path + ": " + error;
    return false;
  }
  const std::string_view text(reinterpret_cast<const char*>(content.data()), content.size());
  if (!ParsePatchSet(text, set, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

std::string PatchSetText(const PatchSet& set) {
  std::string text = std::string(kPatchSetMagic) + " " + std::to_string(kPatchSetVersion) + "\n";
  text += "# The patches in the order they are applied: patch: SHA-256 FILE-NAME | ARGUMENT\n";
  text += "program: " + set.program + "\n";
  text += "signature: " + set.signature + "\n";
  text += "sha256: " + set.sha256 + "\n";
  if (!set.originalSha256.empty()) {
    text += "original-sha256: " + set.originalSha256 + "\n";
  }
  for (const SetPatch& patch : set.patches) {
    text += "patch: " + patch.sha256 + " " + patch.name;
    if (patch.argument) {
      text += std::string(kArgumentMark) + *patch.argument;
    }
    text += "\n";
  }
  return text;
}

}  // namespace varnock
