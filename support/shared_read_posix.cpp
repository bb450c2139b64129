#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "support/lock_wait.h"
#include "support/shared_read.h"

namespace varnock {

struct ReadHold::State {
  int fd = -1;

  void Close() {
    if (fd >= 0) {
      ::close(fd);
    }
    fd = -1;
  }
  ~State() { Close(); }
};

ReadHold::ReadHold() : state_(std::make_unique<State>()) {}
ReadHold::~ReadHold() = default;

bool ReadHold::Take(const std::string& path, std::chrono::steady_clock::time_point deadline,
                    std::string& error) {
  for (;;) {
    state_->fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat held {};
    if (state_->fd < 0 || ::fstat(state_->fd, &held) != 0 || !S_ISREG(held.st_mode)) {
      state_->Close();
      return true;
    }
    // Where the file system has no locks, no writer of this program can write either.
    const auto attempt = [&] {
      const bool busy =
          ::flock(state_->fd, LOCK_SH | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR);
      return busy ? LockAttempt::Busy : LockAttempt::Taken;
    };
    if (!WaitForLock(attempt, deadline, path, error)) {
      return false;
    }
    // A writer that held the file may have put a new one in its place meanwhile.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0 ||
        (named.st_dev == held.st_dev && named.st_ino == held.st_ino)) {
      return true;
    }
    state_->Close();
  }
}

}  // namespace varnock
