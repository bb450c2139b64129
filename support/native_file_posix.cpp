#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "support/files.h"
#include "support/native_file.h"
#include "support/paths.h"
#include "support/translation.h"

namespace varnock {

namespace {

std::string ErrnoText(int code) {
  return ErrorText(std::error_code(code, std::system_category()));
}

bool Succeeded(int result, std::string& error) {
  if (result != 0) {
    error = ErrnoText(errno);
  }
  return result == 0;
}

}  // namespace

int SystemErrorCode(SystemError error) {
  constexpr std::array<int, 4> kCodes = {ENOENT, EACCES, ENOSPC, EBADF};
  return error == SystemError::Last ? errno : kCodes.at(static_cast<std::size_t>(error));
}

bool NativeFile::Close() {
  if (!IsOpen()) {
    return true;
  }
  return ::close(static_cast<int>(std::exchange(handle_, -1))) == 0;
}

void NativeFile::RemoveAndClose(const std::string& path) {
  RemoveEntry(path);
  Close();
}

LockAttempt NativeFile::OpenHeld(const std::string& target, bool /*again*/, std::string& writeError,
                                 std::string& error) {
  if (!IsOpen()) {
    writeError.clear();
    const int flags = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    handle_ = ::open(target.c_str(), O_RDWR | flags);
    if (handle_ < 0 && (errno == EACCES || errno == EPERM || errno == EROFS || errno == ETXTBSY)) {
      // A file that may only be read can still be found already patched.
      writeError = ErrnoText(errno);
      handle_ = ::open(target.c_str(), O_RDONLY | flags);
    }
    struct stat info {};
    if (handle_ < 0 || ::fstat(static_cast<int>(handle_), &info) != 0) {
      error = errno == EISDIR ? NotAFileText(target) : ErrnoText(errno);
      return LockAttempt::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
      error = NotAFileText(target);  // a folder, a pipe, a device: named for what it is
      return LockAttempt::Failed;
    }
  }
  if (::flock(static_cast<int>(handle_), LOCK_EX | LOCK_NB) == 0) {
    return LockAttempt::Taken;
  }
  if (errno == EWOULDBLOCK || errno == EINTR) {
    return LockAttempt::Busy;
  }
  error = ErrnoText(errno);
  return LockAttempt::Failed;
}

bool NativeFile::OpenToRead(const std::string& path, std::string& error) {
  Close();
  handle_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  return Succeeded(IsOpen() ? 0 : -1, error);
}

bool NativeFile::CreateNew(const std::string& path, bool& taken, std::string& error) {
  Close();
  handle_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  taken = !IsOpen() && errno == EEXIST;
  if (!IsOpen()) {
    error = ErrnoText(errno);
    return false;
  }
  // Locked before its first byte: a new file with bytes and no lock is one a killed run left.
  ::flock(static_cast<int>(handle_), LOCK_EX);
  return true;
}

bool NativeFile::CreatePrivate(const std::string& path, std::string& error) {
  Close();
  handle_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  return Succeeded(IsOpen() ? 0 : -1, error);
}

bool NativeFile::ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size,
                        std::size_t& got, std::string& error) const {
  got = 0;
  while (got < size) {
    const ssize_t read = ::pread(static_cast<int>(handle_), data + got, size - got,
                                 static_cast<off_t>(offset + got));
    if (read < 0 && errno == EINTR) {
      continue;
    }
    if (read < 0) {
      error = ErrnoText(errno);
      return false;
    }
    if (read == 0) {
      break;
    }
    got += static_cast<std::size_t>(read);
  }
  return true;
}

bool NativeFile::WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size,
                         std::string& error) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t written = ::pwrite(static_cast<int>(handle_), data + done, size - done,
                                     static_cast<off_t>(offset + done));
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      error = ErrnoText(written < 0 ? errno : EIO);
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

bool NativeFile::Resize(std::uint64_t size, std::string& error) {
  return Succeeded(::ftruncate(static_cast<int>(handle_), static_cast<off_t>(size)), error);
}

bool NativeFile::Flush(std::string& error) {
  return Succeeded(::fsync(static_cast<int>(handle_)), error);
}

bool NativeFile::Describe(FileState& state, std::string& error) const {
  struct stat info {};
  if (!Succeeded(::fstat(static_cast<int>(handle_), &info), error)) {
    return false;
  }
  state.identity = {static_cast<std::uint64_t>(info.st_dev),
                    static_cast<std::uint64_t>(info.st_ino)};
  state.size = static_cast<std::uint64_t>(info.st_size);
  state.links = static_cast<std::uint64_t>(info.st_nlink);
  state.permissions = info.st_mode;
  // A file without any write permission is read-only, also for a user the system lets write
  // everywhere.
  state.readOnly = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  state.written = {info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
  state.changed = {info.st_ctim.tv_sec, info.st_ctim.tv_nsec};
  return true;
}

bool ResolveTarget(const std::string& path, std::string& target, std::string& error) {
  std::error_code resolveError;
  const std::filesystem::path resolved = std::filesystem::canonical(ToFsPath(path), resolveError);
  if (resolveError) {
    error = ErrorText(resolveError);
    return false;
  }
  target = FromFsPath(resolved);
  return true;
}

bool IdentityOfName(const std::string& target, FileIdentity& identity) {
  struct stat named {};
  if (::stat(target.c_str(), &named) != 0) {
    return false;
  }
  identity = {static_cast<std::uint64_t>(named.st_dev), static_cast<std::uint64_t>(named.st_ino)};
  return true;
}

// A file larger than the size limit set for this program (ulimit -f) can be neither written
// whole nor put back whole: it is refused before its first byte is written.
bool WithinSizeLimit(std::uint64_t size, const std::string& target, std::string& error) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
      size <= limit.rlim_cur) {
    return true;
  }
  error = TrFormat(
      "the file is larger than the file size limit set for this program (ulimit -f): %1", {target});
  return false;
}

bool RemoveEntry(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
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

}  // namespace varnock
