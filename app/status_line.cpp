#include "app/status_line.h"

namespace varnock {

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
