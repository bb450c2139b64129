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

std::string StatusLineText(const FolderStatusEntry& entry) {
  std::string text = std::string("Status: ") + StatusWord(entry.status.state);
  if (entry.status.argument) {
    text += " with argument " + *entry.status.argument;
  }
  for (std::size_t i = 0; i < entry.conflicts.size(); ++i) {
    text += (i == 0 ? " \u2014 conflicts with " : ", ") + entry.conflicts[i];
  }
  return text;
}

}  // namespace varnock
