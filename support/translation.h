#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Every text a person reads goes through Tr (or TrFormat), so that xgettext finds it and the
// catalogue of the user's language replaces it. Without a catalogue for that language, and
// always in English, the text is used exactly as it stands. What scripts read (exit codes,
// JSON keys and values, status words, verdicts) is never marked: it stays English.
namespace varnock {

// The text in the user's language, or the text itself.
const char* Tr(const char* text);

// A text for a table that is built before any language is chosen: xgettext finds it, and
// Tr translates it where it is shown.
constexpr const char* TrNoop(const char* text) {
  return text;
}

// The text in the user's language with %1 … %9 replaced by the arguments of that number, so
// that a language may put them in another order. An argument is never searched for
// placeholders itself (a path may hold "%1").
std::string TrFormat(const char* text, std::initializer_list<std::string_view> arguments);

// A message whose lines end with "\r\n" where the program shows it: marked and translated with
// "\n", as gettext wants a catalogue's texts, and each "\n" of the translation made "\r\n"
// before any argument goes in.
std::string TrCrLf(const char* text);
std::string TrFormatCrLf(const char* text, std::initializer_list<std::string_view> arguments);

// The same replacement over a text that is translated already.
std::string FillPlaceholders(std::string_view text,
                             std::initializer_list<std::string_view> arguments);

}  // namespace varnock
