#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnock {

// The first line of a set file, and the version this program writes and reads.
inline constexpr std::string_view kPatchSetMagic = "varnock patch set";
inline constexpr int kPatchSetVersion = 1;
// A set file is refused beyond these.
inline constexpr std::size_t kMaxPatchSetBytes = 1048576;
inline constexpr std::size_t kMaxPatchSetPatches = 10000;

// One patch of a set: its file name (no folder), the SHA-256 of its file and the argument it is
// applied with, when it takes one.
struct SetPatch {
  std::string name;
  std::string sha256;  // 64 lower-case hexadecimal digits
  std::optional<std::string> argument;
  std::size_t line = 0;  // where it stands in the file it was read from; 0 when not read
  bool operator==(const SetPatch& other) const {
    return name == other.name && sha256 == other.sha256 && argument == other.argument;
  }
};

// A set of patches as saved from one executable: the patches in the order they are applied.
struct PatchSet {
  std::string program;         // the target program's name, "tomb4.exe"
  std::string signature;       // the version signature of the executable saved from
  std::string sha256;          // the SHA-256 of that executable
  std::string originalSha256;  // the SHA-256 of its original, when known; else empty
  std::vector<SetPatch> patches;
  bool operator==(const PatchSet& other) const = default;
};

// Reads a set file's text. False with `error` naming the line ("line 4: ...") or, for the file
// as a whole, what is wrong with it; `set` is then unspecified.
bool ParsePatchSet(std::string_view text, PatchSet& set, std::string& error);
// The same for the file at `path`; the error then starts with the path.
bool ReadPatchSetFile(const std::string& path, PatchSet& set, std::string& error);

// The text of `set`, which ParsePatchSet reads back as the same set. Every field must be one
// that the reader accepts (see PatchSetFieldError).
std::string PatchSetText(const PatchSet& set);

// Why `name` cannot stand as a patch of a set (a folder, a separator, not a .ptc, ...); empty
// when it can.
std::string PatchNameError(std::string_view name);
// Why `argument` cannot be written in a set (an empty text, a line end, a NUL, invalid UTF-8);
// empty when it can.
std::string ArgumentTextError(std::string_view argument);

// A patch file name as names are compared, letters without regard to case: its ASCII letters in
// lower case.
std::string NameKey(std::string_view name);

// `text` as 64 lower-case hexadecimal digits, when it is a SHA-256 in either letter case.
std::optional<std::string> ParseSha256(std::string_view text);

}  // namespace varnock
