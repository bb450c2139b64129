#include "app/status_line.h"

namespace varnock {

namespace {

// Names shown when there are more conflicts than kNamedAll.
constexpr std::size_t kNamedFirst = 2;
constexpr std::size_t kNamedAll = 3;

}  // namespace

std::string GroupedNumber(std::size_t count) {
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) {
    digits.insert(at - 3, ",");
  }
  return digits;
}

const char* StatusWord(PatchState state) {
  static constexpr const char* kWords[] = {"applied",
                                           "not applied",
                                           "partly applied",
                                           "does not fit this file",
                                           "made for another build",
                                           "made for another program",
                                           "broken"};
  return kWords[static_cast<int>(state)];
}

std::string ConflictsText(const FolderStatus& folder, std::size_t index) {
  const std::string names = ConflictNamesText(folder, index);
  return names.empty() ? names : "conflicts with " + names;
}

std::string ConflictNamesText(const FolderStatus& folder, std::size_t index) {
  const std::size_t count = folder.conflicts.Count(index);
  if (count == 0) {
    return {};
  }
  const std::size_t named = count <= kNamedAll ? count : kNamedFirst;
  std::string text;
  const std::vector<std::string> names = folder.ConflictNames(index, named);
  for (std::size_t i = 0; i < names.size(); ++i) {
    text += (i == 0 ? "" : ", ") + names[i];
  }
  if (named < count) {
    text += " and " + GroupedNumber(count - named) + " others";
  }
  return text;
}

std::string StatusLineText(const FolderStatus& folder, std::size_t index) {
  const PatchStatus& status = folder.entries[index].status;
  std::string text = std::string("Status: ") + StatusWord(status.state);
  if (status.argument) {
    text += " with argument " + *status.argument;
  }
  const std::string conflicts = ConflictsText(folder, index);
  if (!conflicts.empty()) {
    text += " \u2014 " + conflicts;
  }
  return text;
}

}  // namespace varnock
