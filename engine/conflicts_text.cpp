#include "engine/conflicts_text.h"

#include "support/translation.h"

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
  // TRANSLATORS: the separator between groups of three digits in a number ("1,200")
  const std::string separator = Tr(",");
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) {
    digits.insert(at - 3, separator);
  }
  return digits;
}

std::string ConflictsText(const FolderStatus& folder, std::size_t index) {
  const std::size_t count = folder.conflicts.Count(index);
  if (count == 0) {
    return {};
  }
  if (count > kNamedAll) {
    // TRANSLATORS: %1 names patch files, %2 is how many more there are.
    return TrFormat("conflicts with %1 and %2 others",
                    {NamedConflicts(folder, index, count), GroupedNumber(count - kNamedFirst)});
  }
  // TRANSLATORS: %1 names patch files.
  return TrFormat("conflicts with %1", {NamedConflicts(folder, index, count)});
}

std::string ConflictColumnText(const FolderStatus& folder, std::size_t index) {
  const std::size_t count = folder.conflicts.Count(index);
  if (count <= 1) {
    return count == 0 ? std::string() : NamedConflicts(folder, index, count);
  }
  if (count > kNamedAll) {
    // TRANSLATORS: %1 is a number of patches, %2 names the first of them.
    return TrFormat("%1 patches: %2, \u2026",
                    {GroupedNumber(count), NamedConflicts(folder, index, count)});
  }
  // TRANSLATORS: %1 is a number of patches, %2 names them.
  return TrFormat("%1 patches: %2", {GroupedNumber(count), NamedConflicts(folder, index, count)});
}

}  // namespace varnock
