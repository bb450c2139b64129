#include "app/access_keys.h"

#include <array>
#include <utility>

#include "support/translation.h"

namespace varnock {

namespace {

// The buttons and check boxes of every window and the letter each one answers to; no two of a
// window share a letter. Each marked caption is translated as a whole, so that a language
// picks a letter of its own word.
constexpr std::array<std::pair<std::string_view, std::string_view>, 18> kAccessKeys = {{
    // TRANSLATORS: a button's caption with "&" before the letter that presses it with Alt:
    // translate it as the caption without "&", and let no two buttons of a window share a letter.
    {"Patch Folder :", TrNoop("&Patch Folder :")},
    {"Print description", TrNoop("Print &description")},
    {"Change", TrNoop("C&hange")},
    {"APPLY PATCH", TrNoop("&APPLY PATCH")},
    {"REMOVE PATCH", TrNoop("&REMOVE PATCH")},
    {"Close", TrNoop("&Close")},
    {"All patches…", TrNoop("A&ll patches…")},
    {"OK", TrNoop("&OK")},
    {"Cancel", TrNoop("&Cancel")},
    {"New Folder ->", TrNoop("&New Folder ->")},
    {"Apply changes", TrNoop("&Apply changes")},
    {"Refresh", TrNoop("&Refresh")},
    {"Restore original…", TrNoop("Re&store original…")},
    {"Undo last change", TrNoop("&Undo last change")},
    {"History…", TrNoop("&History…")},
    {"Keep a history of changes", TrNoop("&Keep a history of changes")},
    {"Save set…", TrNoop("Sa&ve set…")},
    {"Open set…", TrNoop("&Open set…")},
}};

}  // namespace

std::string WithAccessKey(std::string_view caption) {
  for (const auto& [plain, marked] : kAccessKeys) {
    if (caption == plain) {
      return Tr(marked.data());
    }
  }
  return std::string(caption);
}

}  // namespace varnock
