#include "app/start_up_bundle.h"

#include "app/trim_root_backslash.h"
#include "patchfile/bundle_unpack.h"
#include "support/files.h"
#include "support/paths.h"

namespace varnock {

namespace {

// The per-user patch folder when no file can be created in the program's own folder (an
// installed program); empty when the program's folder serves, or there is no per-user folder.
std::string UserFolderInstead(const AppEnvironment& environment) {
  if (!environment.canCreateFilesIn || !environment.userPatchFolder ||
      environment.canCreateFilesIn(GetParentFolder(environment.ownExecutablePath))) {
    return {};
  }
  return environment.userPatchFolder();
}

}  // namespace

std::string StartUpBundle::Unpack(const AppEnvironment& environment,
                                  std::vector<std::string>& created) {
  const std::string user = UserFolderInstead(environment);
  std::string folder =
      TrimRootBackslash(user.empty() ? GetParentFolder(environment.ownExecutablePath) : user);
  if (user.empty()) {
    UnpackBundle(environment.ownExecutablePath, folder, created);
  } else {
    shared_ = std::make_unique<SharedUnpack>(folder);
    shared_->Unpack(environment.ownExecutablePath);
  }
  return folder;
}

void StartUpBundle::Release(const std::vector<std::string>& created) {
  for (const std::string& file : created) {
    RemoveFile(file);
  }
  if (shared_) {
    shared_->Release();
  }
}

}  // namespace varnock
