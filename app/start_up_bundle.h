#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/app_environment.h"
#include "patchfile/shared_unpack.h"

namespace varnock {

// The patches the program carries, unpacked at start-up and deleted at its end: beside the
// program, where the window owns the files it created, or, when no file can be created there
// (an installed program), into the per-user folder the user's other windows share, whose
// record, not this window, owns them.
class StartUpBundle {
 public:
  // Unpacks the bundle and gives the folder it went to; the files created beside the program
  // are added to `created`.
  std::string Unpack(const AppEnvironment& environment, std::vector<std::string>& created);
  // Deletes the files `created` and lets go of the shared folder.
  void Release(const std::vector<std::string>& created);

 private:
  std::unique_ptr<SharedUnpack> shared_;  // null when the bundle went beside the program
};

}  // namespace varnock
