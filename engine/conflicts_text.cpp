#include "engine/conflicts_text.h"

namespace varnock {

namespace {

// Names shown when there are more conflicts than kNamedAll.
constexpr std::size_t kNamedFirst = 2;
constexpr std::size_t kNamedAll = 3;

// The names of the first conflicts, ", " between them: all up to kNamedAll, else the first
// kNamedFirst.
std::string NamedConflicts(const FolderStatus& folder, std::size_t index, std::size_t count) {
  std::string text;
  const std::vector<std::string> names =
      folder.ConflictNames(index, count <= kNamedAll ? count : kNamedFirst);
  for (std::size_t i = 0; i < names.size(); ++i) {
    text += (i == 0 ? "" : ", ") + names[i];
  }
  return text;
}

}  // namespace

std::string GroupedNumber(std::size_t count) {
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) {
    digits.insert(at - 3, ",");
  }
  return digits;
}

std::string ConflictsText(const FolderStatus& folder, std::size_t index) {
  const std::size_t count = folder.conflicts.Count(index);
  if (count == 0) {
    return {};
  }
  std::string text = "conflicts with " + NamedConflicts(folder, index, count);
  if (count > kNamedAll) {
    text += " and " + GroupedNumber(count - kNamedFirst) + " others";
  }
  return text;
}

std::string ConflictColumnText(const FolderStatus& folder, std::size_t index) {
  const std::size_t count = folder.conflicts.Count(index);
  if (count <= 1) {
    return count == 0 ? std::string() : NamedConflicts(folder, index, count);
  }
  return GroupedNumber(count) + " patches: " + NamedConflicts(folder, index, count) +
         (count > kNamedAll ? ", \u2026" : "");
}

}  // namespace varnock
