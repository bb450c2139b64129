#pragma once

#include <optional>
#include <string>

#include "support/bytes.h"
#include "support/interrupt_cleanup.h"
#include "support/native_file.h"

namespace varnock {

enum class NewCopy {
  Made,   // the copy is at the destination, a new file of this run's own
  Taken,  // something (a file, a folder, even a dangling link) already has that name
  Failed  // nothing was made; the description tells why
};

// A copy of a file made as a new file, created exclusively (an entry already at the
// destination is never followed, replaced or deleted), and held by this run while the object
// lives: locked on POSIX, open without delete sharing on Windows, so that another run can
// tell it from a copy left behind by a run that was killed. Others may read it meanwhile. On
// POSIX the copy also goes when the program is interrupted (SIGINT, SIGTERM, SIGHUP), as a
// hidden copy does; on Windows it cannot be deleted while held, and one left by an interruption
// goes with the next run of the same patch (RemoveStaleCopy).
class HeldCopy {
 public:
  HeldCopy() = default;
  ~HeldCopy() = default;
  HeldCopy(const HeldCopy&) = delete;
  HeldCopy& operator=(const HeldCopy&) = delete;

  // A copy that fails part-way is removed.
  NewCopy Make(const std::string& source, const std::string& destination, std::string& error);
  // Lets go of the copy and deletes it.
  void Remove();

 private:
  std::string path_;
  NativeFile file_;
  std::optional<RemovedOnInterrupt> removed_;
};

// Writes `content` as a new file at `path`, created exclusively as a copy is: an entry already
// there (a dangling link included) is never followed or replaced, and gives Taken. A file that
// cannot be written whole is removed again.
NewCopy WriteNewFile(const std::string& path, const Bytes& content, std::string& error);

// True when the file at `path` holds at least one byte and is `source` or the start of it.
bool HoldsStartOf(const std::string& path, const std::string& source);

// Deletes the file at `path` when it can only be left behind by a killed run: a file of at
// least one byte that holds `source`'s content or the start of it, and that no living run
// holds. True when it was deleted; anything else is left as it is.
bool RemoveStaleCopy(const std::string& path, const std::string& source);

}  // namespace varnock
