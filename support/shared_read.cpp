#include "support/shared_read.h"

#include "support/files.h"
#include "support/lock_wait.h"

namespace varnock {

// Held, the file's name leads to the file read, and no writer of this program changes it
// before the read has ended.
bool ReadFileShared(const std::string& path, Bytes& content, std::string& error,
                    std::optional<std::chrono::milliseconds> wait) {
  content.clear();
  error.clear();
  ReadHold hold;
  return hold.Take(path, std::chrono::steady_clock::now() + wait.value_or(kLockWait), error) &&
         ReadWholeFile(path, content, error);
}

}  // namespace varnock
