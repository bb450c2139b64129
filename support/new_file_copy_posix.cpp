#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/new_file_copy.h"

namespace varnock {

bool RemoveStaleCopy(const std::string& path, const std::string& source) {
  const NativeFile file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  const int fd = static_cast<int>(file.Handle());
  struct stat opened {};
  struct stat named {};
  return file.IsOpen() && ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
         ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
         named.st_ino == opened.st_ino && named.st_dev == opened.st_dev &&
         HoldsStartOf(path, source) && ::unlink(path.c_str()) == 0;
}

}  // namespace varnock
