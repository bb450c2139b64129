#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "support/files.h"
#include "support/paths.h"
#include "support/safe_rewrite.h"

namespace varnock {

namespace {

constexpr std::size_t kChunk = 1 << 20;

std::string ErrnoText(int code) {
  return ErrorText(std::error_code(code, std::system_category()));
}

// The file descriptor is closed when the object goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and tells whether the close succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// The temporary file is deleted when the object goes, unless it has taken the file's place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) {
      ::unlink(path_.c_str());
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::string& path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::string path_;
};

// The file a symbolic link leads to; the file itself when it is none.
bool ResolveTarget(const std::string& path, std::string& target, std::string& error) {
  if (path.empty() || path.find('\0') != std::string::npos) {
    error = ErrnoText(ENOENT);
    return false;
  }
  std::error_code resolveError;
  const std::filesystem::path resolved = std::filesystem::canonical(ToFsPath(path), resolveError);
  if (resolveError) {
    error = ErrorText(resolveError);
    return false;
  }
  target = FromFsPath(resolved);
  return true;
}

// The file must be a regular file that may be written; its mode and owner are returned.
bool CheckWritable(const std::string& target, struct stat& info, std::string& error) {
  Descriptor fd(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) {
    error = ErrnoText(errno);
    return false;
  }
  if (::fstat(fd.get(), &info) != 0) {
    error = ErrnoText(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = ErrnoText(EINVAL);
    return false;
  }
  // A file without any write permission is read-only, also for a user the system lets
  // write everywhere.
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    error = ErrnoText(EACCES);
    return false;
  }
  return true;
}

std::string TemporaryTemplate(const std::string& target) {
  // The temporary name starts with a dot, so it stays out of sight, and names its maker.
  std::string name(1, '.');
  name.append(GetFileName(target, PathStyle::Posix).substr(0, 100));
  name.append(".varnock-XXXXXX");
  return JoinPath(GetParentFolder(target, PathStyle::Posix), name, PathStyle::Posix);
}

bool WriteAll(int fd, const Bytes& content, const RewriteHooks* hooks, std::string& error) {
  std::size_t offset = 0;
  while (offset < content.size()) {
    const std::size_t size = std::min(kChunk, content.size() - offset);
    if (hooks != nullptr && hooks->allow_write && !hooks->allow_write(offset, size)) {
      error = ErrnoText(ENOSPC);
      return false;
    }
    const ssize_t written = ::write(fd, content.data() + offset, size);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      error = ErrnoText(written < 0 ? errno : EIO);
      return false;
    }
    offset += static_cast<std::size_t>(written);
  }
  return true;
}

// The new content in a flushed temporary file that carries the file's owner and mode.
bool WriteTemporary(int fd, const Bytes& content, const struct stat& info,
                    const RewriteHooks* hooks, std::string& error) {
  if (!WriteAll(fd, content, hooks, error)) {
    return false;
  }
  if (::fsync(fd) != 0) {
    error = ErrnoText(errno);
    return false;
  }
  // The owner may only be kept by a privileged user; the mode is set after it, because a
  // change of owner clears the set-user-id bits.
  [[maybe_unused]] const int ignored = ::fchown(fd, info.st_uid, info.st_gid);
  if (::fchmod(fd, info.st_mode & 07777) != 0) {
    error = ErrnoText(errno);
    return false;
  }
  return true;
}

void SyncFolder(const std::string& target) {
  const std::string folder = GetParentFolder(target, PathStyle::Posix);
  Descriptor fd(::open(folder.empty() ? "/" : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) {
    ::fsync(fd.get());
  }
}

}  // namespace

bool RewriteFile(const std::string& path, const Bytes& content, std::string& error,
                 const RewriteHooks* hooks) {
  error.clear();
  std::string target;
  struct stat info {};
  if (!ResolveTarget(path, target, error) || !CheckWritable(target, info, error)) {
    return false;
  }
  std::string name = TemporaryTemplate(target);
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  Descriptor fd(::mkstemp(buffer.data()));
  if (fd.get() < 0) {
    error = ErrnoText(errno);
    return false;
  }
  TemporaryFile temporary(buffer.data());
  if (!WriteTemporary(fd.get(), content, info, hooks, error)) {
    return false;
  }
  if (!fd.Close()) {
    error = ErrnoText(errno);
    return false;
  }
  if (hooks != nullptr && hooks->before_replace) {
    hooks->before_replace(temporary.path());
  }
  if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
    error = ErrnoText(errno);
    return false;
  }
  temporary.Release();
  // The new name is made durable; the content is already in place whatever happens here.
  SyncFolder(target);
  return true;
}

}  // namespace varnock
