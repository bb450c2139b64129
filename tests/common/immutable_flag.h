#pragma once

#include <fcntl.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

#include <string>

namespace varnock::testing {

// Marks a file or folder immutable for as long as the object lives: nobody, the system
// administrator included, may then change, rename or delete it (or, for a folder, add or
// remove entries). Unavailable() when the file system or the user's rights do not allow it.
class Immutable {
 public:
  explicit Immutable(std::string path) : path_(std::move(path)) { applied_ = Set(true); }
  ~Immutable() { Set(false); }
  Immutable(const Immutable&) = delete;
  Immutable& operator=(const Immutable&) = delete;
  bool Unavailable() const { return !applied_; }

 private:
  bool Set([[maybe_unused]] bool on) const {
#ifdef __linux__
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int flags = 0;
    bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);  // nothing to close when the open failed
    return ok;
#else
    return false;
#endif
  }

  std::string path_;
  bool applied_ = false;
};

}  // namespace varnock::testing
