#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "support/files.h"
#include "support/paths.h"
#include "support/rewrite_journal.h"

namespace varnock {

namespace {

std::string ErrnoText(int code) {
  return ErrorText(std::error_code(code, std::system_category()));
}

bool FlushFolderOf(const std::string& path) {
  const std::string parent = GetParentFolder(path);
  const int folder =
      ::open(parent.empty() ? "/" : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool flushed = folder >= 0 && ::fsync(folder) == 0;
  if (folder >= 0) {
    ::close(folder);
  }
  return flushed;
}

bool WriteWhole(int fd, const Bytes& content) {
  for (std::size_t done = 0; done < content.size();) {
    const ssize_t written = ::write(fd, content.data() + done, content.size() - done);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      if (written == 0) {
        errno = EIO;
      }
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

bool WriteDurably(const std::string& path, const Bytes& content, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = ErrnoText(errno);
    return false;
  }
  const bool written = WriteWhole(fd, content) && ::fsync(fd) == 0;
  const int failure = errno;
  if (::close(fd) != 0 || !written || !FlushFolderOf(path)) {
    error = ErrnoText(written ? errno : failure);
    return false;
  }
  return true;
}

bool RemoveDurably(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    return false;
  }
  FlushFolderOf(path);
  return true;
}

}  // namespace varnock
