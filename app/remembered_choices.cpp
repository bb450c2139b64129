#include "app/remembered_choices.h"

#include <cstdint>
#include <string>

#include "app/main_presenter.h"
#include "app/trim_root_backslash.h"
#include "support/files.h"

namespace varnock {

std::string MainPresenter::RecalledTarget() const {
  if (environment_.settings == nullptr) {
    return {};
  }
  const std::string exe = environment_.settings->Read(kRememberedTarget);
  return FileExists(exe) ? exe : std::string();
}

// The last patch folder while it still holds patches; else the program's own folder.
std::string MainPresenter::StartPatchFolder() const {
  if (environment_.settings != nullptr) {
    std::string folder = environment_.settings->Read(kRememberedPatchFolder);
    std::int32_t found = 0;
    if (FolderExists(folder)) {
      ListFiles(folder, "*.ptc", found);
    }
    if (found > 0) {
      return folder;
    }
  }
  return WholeRoot(state_.PatchFolder);
}

void MainPresenter::Remember(const std::string& name, const std::string& value) {
  if (environment_.settings != nullptr) {
    environment_.settings->Write(name, value);
  }
}

}  // namespace varnock
