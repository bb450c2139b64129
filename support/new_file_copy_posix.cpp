#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

#include "support/files.h"
#include "support/new_file_copy.h"

namespace varnock {

namespace {

constexpr std::size_t kChunk = 1 << 16;

std::string ErrnoText(int code) {
  return ErrorText(std::error_code(code, std::generic_category()));
}

bool WriteAll(int to, const char* data, std::size_t size, std::string& error) {
  for (std::size_t done = 0; done < size;) {
    const ssize_t put = ::write(to, data + done, size - done);
    if (put < 0 && errno != EINTR) {
      error = ErrnoText(errno);
      return false;
    }
    done += put < 0 ? 0 : static_cast<std::size_t>(put);
  }
  return true;
}

bool CopyContent(int from, int to, std::string& error) {
  std::vector<char> buffer(kChunk);
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      error = got < 0 ? ErrnoText(errno) : std::string();
      return got == 0;
    }
    if (!WriteAll(to, buffer.data(), static_cast<std::size_t>(got), error)) {
      return false;
    }
  }
}

}  // namespace

HeldCopy::~HeldCopy() {
  Release();
}

void HeldCopy::Release() {
  if (handle_ >= 0) {
    ::close(static_cast<int>(handle_));
    handle_ = -1;
  }
}

NewCopy HeldCopy::Make(const std::string& source, const std::string& destination,
                       std::string& error) {
  error.clear();
  const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) {
    error = ErrnoText(errno);
    return NewCopy::Failed;
  }
  int to = -1;
  {
    // Made and registered for removal as one step: an interruption that comes between the two
    // waits until the copy is registered, and then removes it.
    const InterruptionsHeld held;
    to = ::open(destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (to >= 0) {
      removed_.emplace(destination);
    }
  }
  if (to < 0) {
    const int code = errno;
    ::close(from);
    error = ErrnoText(code);
    return code == EEXIST ? NewCopy::Taken : NewCopy::Failed;
  }
  // Locked before its first byte: a copy with bytes and no lock is one a killed run left.
  ::flock(to, LOCK_EX);
  const bool copied = CopyContent(from, to, error);
  ::close(from);
  if (!copied) {
    ::unlink(destination.c_str());
    removed_.reset();
    ::close(to);
    return NewCopy::Failed;
  }
  path_ = destination;
  handle_ = to;
  return NewCopy::Made;
}

NewCopy WriteNewFile(const std::string& path, const Bytes& content, std::string& error) {
  error.clear();
  const int to = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (to < 0) {
    const int code = errno;
    error = ErrnoText(code);
    return code == EEXIST ? NewCopy::Taken : NewCopy::Failed;
  }
  bool written = WriteAll(to, reinterpret_cast<const char*>(content.data()), content.size(), error);
  if (::close(to) != 0 && written) {
    error = ErrnoText(errno);
    written = false;
  }
  if (!written) {
    ::unlink(path.c_str());
    return NewCopy::Failed;
  }
  return NewCopy::Made;
}

void HeldCopy::Remove() {
  if (!path_.empty()) {
    ::unlink(path_.c_str());
    path_.clear();
  }
  removed_.reset();
  Release();
}

bool RemoveStaleCopy(const std::string& path, const std::string& source) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    return false;
  }
  struct stat opened {};
  struct stat named {};
  const bool stale = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                     ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
                     named.st_ino == opened.st_ino && named.st_dev == opened.st_dev &&
                     HoldsStartOf(path, source) && ::unlink(path.c_str()) == 0;
  ::close(fd);
  return stale;
}

}  // namespace varnock
