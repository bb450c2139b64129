#include "app/status_line.h"

#include "support/translation.h"

namespace varnock {

std::string StatusLineText(const FolderStatus& folder, std::size_t index) {
  const PatchStatus& status = folder.entries[index].status;
  const char* word = StatusWord(status.state);
  const std::string conflicts = ConflictsText(folder, index);
  if (status.argument && conflicts.empty()) {
    // TRANSLATORS: %1 is a patch's status, such as "applied"; %2 the argument read back from
    // the executable
    return TrFormat("Status: %1 with argument %2", {word, *status.argument});
  }
  if (status.argument) {
    // TRANSLATORS: %1 is a patch's status, such as "applied"; %2 the argument read back from
    // the executable; %3 the patches it conflicts with, such as "conflicts with Patch_X.ptc"
    return TrFormat("Status: %1 with argument %2 — %3", {word, *status.argument, conflicts});
  }
  if (conflicts.empty()) {
    // TRANSLATORS: %1 is a patch's status, such as "not applied"
    return TrFormat("Status: %1", {word});
  }
  // TRANSLATORS: %1 is a patch's status, such as "applied"; %2 the patches it conflicts with,
  // such as "conflicts with Patch_X.ptc"
  return TrFormat("Status: %1 — %2", {word, conflicts});
}

}  // namespace varnock
