#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/lock_file.h"

namespace varnock {

// The bundle unpacked into a folder that every window of the user shares (the per-user patch
// folder), where the unpacked files belong to Varnock rather than to one window. The folder
// keeps a record of what Varnock unpacked there, with the sum of each file, and a lock file:
// each running window holds its "in use" slot shared, and the record is read and changed only
// under the exclusive "guard" slot. A window that closes deletes the recorded files only when no
// other window still holds the folder; one that starts and finds no other window takes over what
// a window that never closed (killed) left. A file the record does not name, or that changed
// since, is the user's: written over with the bundle's version like any file of that name, but
// never deleted. Where the folder takes no locks, where another window keeps the guard past the
// wait for a file in use (stopped), or where the record cannot be written, the window keeps to
// its own new files.
class SharedUnpack {
 public:
  explicit SharedUnpack(std::string folder);

  // Unpacks the bundle of `executablePath` as UnpackBundle does, and holds the folder until
  // Release or the end of the process. True when every entry was written.
  bool Unpack(const std::string& executablePath);
  // The window's end: the recorded files are deleted when no other window holds the folder.
  void Release();

  static constexpr const char* kRecordName = ".varnock-unpacked";
  static constexpr const char* kLockName = ".varnock-lock";

 private:
  std::string folder_;
  std::unique_ptr<LockFile> lock_;
  // The new files of this window alone, where the folder takes no locks.
  std::vector<std::string> ownFiles_;
};

}  // namespace varnock
