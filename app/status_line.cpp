#include "app/status_line.h"

namespace varnock {

std::string StatusLineText(const FolderStatusEntry& entry) {
  std::string text = std::string("Status: ") + StateWord(entry.status.state);
  if (entry.status.argument) {
    text += " with argument " + *entry.status.argument;
  }
  for (std::size_t i = 0; i < entry.conflicts.size(); ++i) {
    text += (i == 0 ? " \u2014 conflicts with " : ", ") + entry.conflicts[i];
  }
  return text;
}

}  // namespace varnock
