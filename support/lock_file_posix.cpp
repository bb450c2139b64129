#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "support/lock_file.h"

namespace varnock {

namespace {

// Locks of the open file description: unlike classic record locks they are not shared by the
// whole process, nor lost when another descriptor of the same file is closed.
LockAttempt SetLock(std::intptr_t fd, int slot, short type) {
  struct flock range {};
  range.l_type = type;
  range.l_whence = SEEK_SET;
  range.l_start = slot;
  range.l_len = 1;
  int result = 0;
  while ((result = ::fcntl(static_cast<int>(fd), F_OFD_SETLK, &range)) != 0 && errno == EINTR) {
  }
  if (result == 0) {
    return LockAttempt::Taken;
  }
  return errno == EAGAIN || errno == EACCES ? LockAttempt::Busy : LockAttempt::Failed;
}

}  // namespace

LockFile::LockFile(const std::string& path)
    : handle_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {}

LockFile::~LockFile() {
  if (IsOpen()) {
    ::close(static_cast<int>(handle_));
  }
}

bool LockFile::IsOpen() const {
  return handle_ >= 0;
}

LockAttempt LockFile::Lock(int slot, Mode mode) {
  // Given up first, as on Windows, so that a failed change leaves no lock on either system.
  Unlock(slot);
  return IsOpen() ? SetLock(handle_, slot, mode == Mode::Shared ? F_RDLCK : F_WRLCK)
                  : LockAttempt::Failed;
}

void LockFile::Unlock(int slot) {
  if (IsOpen()) {
    SetLock(handle_, slot, F_UNLCK);
  }
}

}  // namespace varnock
