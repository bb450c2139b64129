#include "app/access_keys.h"

#include <array>
#include <utility>

namespace varnock {

namespace {

// The buttons and check boxes of every window and the letter each one answers to; no two of a
// window share a letter.
constexpr std::array<std::pair<std::string_view, std::string_view>, 18> kAccessKeys = {{
    {"Patch Folder :", "&Patch Folder :"},
    {"Print description", "Print &description"},
    {"Change", "C&hange"},
    {"APPLY PATCH", "&APPLY PATCH"},
    {"REMOVE PATCH", "&REMOVE PATCH"},
    {"Close", "&Close"},
    {"All patches…", "A&ll patches…"},
    {"OK", "&OK"},
    {"Cancel", "&Cancel"},
    {"New Folder ->", "&New Folder ->"},
    {"Apply changes", "&Apply changes"},
    {"Refresh", "&Refresh"},
    {"Restore original…", "Re&store original…"},
    {"Undo last change", "&Undo last change"},
    {"History…", "&History…"},
    {"Keep a history of changes", "&Keep a history of changes"},
    {"Save set…", "Sa&ve set…"},
    {"Open set…", "&Open set…"},
}};

}  // namespace

std::string WithAccessKey(std::string_view caption) {
  for (const auto& [plain, marked] : kAccessKeys) {
    if (caption == plain) {
      return std::string(marked);
    }
  }
  return std::string(caption);
}

}  // namespace varnock
