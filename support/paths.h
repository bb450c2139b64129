#pragma once

#include <string>
#include <string_view>

namespace varnock {

// Windows paths use "\" and may start with a drive prefix "X:"; POSIX paths use "/" and have
// no drive prefix. Both styles are available everywhere; the program uses the native one.
enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kNativeStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativeStyle = PathStyle::Posix;
#endif

char Separator(PathStyle style = kNativeStyle);

// Text after the last separator (or, Windows style, the last drive colon).
std::string GetFileName(std::string_view path, PathStyle style = kNativeStyle);
// Text before the last separator, without it; empty when there is none.
std::string GetParentFolder(std::string_view path, PathStyle style = kNativeStyle);
// Text before the last "."; the name unchanged when it has none.
std::string StripExtension(std::string_view name);
// The file name without folder and extension.
std::string GetBaseName(std::string_view path, PathStyle style = kNativeStyle);
// NULs turned into blanks, then blanks trimmed at both ends.
std::string TrimNulls(std::string_view text);
// folder + separator + name.
std::string JoinPath(std::string_view folder, std::string_view name,
                     PathStyle style = kNativeStyle);

// Letter-case-insensitive comparisons for names, target names and version signatures
// (ASCII letters; other bytes compare exactly).
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool ContainsIgnoreCase(std::string_view haystack, std::string_view needle);

}  // namespace varnock
