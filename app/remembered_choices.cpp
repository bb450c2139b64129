#include "app/remembered_choices.h"

#include "support/files.h"
#include "support/list_files.h"

namespace varnock {

std::string RememberedChoices::Target() const {
  if (settings_ == nullptr) {
    return {};
  }
  std::string exe = settings_->Read(kRememberedTarget);
  return FileExists(exe) ? exe : std::string();
}

std::string RememberedChoices::PatchFolder(const std::string& fallback) const {
  if (settings_ != nullptr) {
    std::string folder = settings_->Read(kRememberedPatchFolder);
    if (FolderExists(folder) && !ListFiles(folder, "*.ptc").empty()) {
      return folder;
    }
  }
  return fallback;
}

void RememberedChoices::KeepTarget(const std::string& exe) {
  Keep(kRememberedTarget, exe);
}

void RememberedChoices::KeepPatchFolder(const std::string& folder) {
  Keep(kRememberedPatchFolder, folder);
}

void RememberedChoices::Keep(const char* name, const std::string& value) {
  if (settings_ != nullptr) {
    settings_->Write(name, value);
  }
}

}  // namespace varnock
