#include "app/status_line.h"

#include "support/translation.h"

namespace varnock {

const char* StatusWord(PatchState state) {
  // TRANSLATORS: the status of a patch on the chosen executable, shown in a column and after
  // "Status: "
  static constexpr const char* kWords[] = {TrNoop("applied"),
                                           TrNoop("not applied"),
                                           TrNoop("partly applied"),
                                           TrNoop("does not fit this file"),
                                           TrNoop("made for another build"),
                                           TrNoop("made for another program"),
                                           TrNoop("broken")};
  return Tr(kWords[static_cast<int>(state)]);
}

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
