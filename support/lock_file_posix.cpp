#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "support/lock_file.h"

namespace varnock {

namespace {

// Locks of the open file description: unlike classic record locks they are not shared by the
// whole process, nor lost when another descriptor of the same file is closed.
bool SetLock(std::intptr_t fd, int slot, short type, bool wait) {
  struct flock range {};
  range.l_type = type;
  range.l_whence = SEEK_SET;
  range.l_start = slot;
  range.l_len = 1;
  int result = 0;
  while ((result = ::fcntl(static_cast<int>(fd), wait ? F_OFD_SETLKW : F_OFD_SETLK, &range)) != 0 &&
         errno == EINTR) {
  }
  return result == 0;
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

bool LockFile::Lock(int slot, Mode mode, bool wait) {
  // Given up first, as on Windows, so that a failed change leaves no lock on either system.
  Unlock(slot);
  return IsOpen() && SetLock(handle_, slot, mode == Mode::Shared ? F_RDLCK : F_WRLCK, wait);
}

void LockFile::Unlock(int slot) {
  if (IsOpen()) {
    SetLock(handle_, slot, F_UNLCK, false);
  }
}

}  // namespace varnock
