#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "support/files.h"
#include "support/interrupt_cleanup.h"
#include "support/lock_wait.h"
#include "support/paths.h"
#include "support/safe_rewrite.h"
#include "support/write_in_place.h"

namespace varnock {

namespace {

constexpr std::size_t kChunk = 1 << 20;
constexpr const char* kTemporaryMark = ".varnock-";
constexpr std::size_t kTemporaryLetters = 6;

std::string ErrnoText(int code) {
  return ErrorText(std::error_code(code, std::system_category()));
}

std::string ChangedText(const std::string& target) {
  return "the file was changed by another program while it was being patched: " + target;
}

// The file descriptor is closed when the object goes.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = other.fd_;
      other.fd_ = -1;
    }
    return *this;
  }
  int Get() const { return fd_; }
  // Closes now and tells whether the close succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool Earlier(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

std::string TimeText(const timespec& time) {
  return std::to_string(time.tv_sec) + "." + std::to_string(time.tv_nsec);
}

// Size, times and identity: what another writer cannot change without leaving a trace.
bool SameState(const struct stat& a, const struct stat& b) {
  return SameFile(a, b) && a.st_size == b.st_size && SameTime(a.st_mtim, b.st_mtim) &&
         SameTime(a.st_ctim, b.st_ctim);
}

// A file larger than the size limit set for this program (ulimit -f) can be neither written
// whole nor put back whole: it is refused before its first byte is written.
bool WithinSizeLimit(std::uintmax_t size, const std::string& target, std::string& error) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
      size <= limit.rlim_cur) {
    return true;
  }
  error = "the file is larger than the file size limit set for this program (ulimit -f): " + target;
  return false;
}

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

std::string FolderOf(const std::string& target) {
  const std::string folder = GetParentFolder(target, PathStyle::Posix);
  return folder.empty() ? "/" : folder;
}

// The start of the hidden temporary file's name: it starts with a dot, so it stays out of
// sight, and names the file and its maker.
std::string TemporaryPrefix(const std::string& target) {
  return "." + GetFileName(target, PathStyle::Posix).substr(0, 100) + kTemporaryMark;
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
  return name.size() == prefix.size() + kTemporaryLetters &&
         name.compare(0, prefix.size(), prefix) == 0 &&
         std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Temporary files of this file left by a run that was killed: named as this program names
// them, plain files of the same user, and held by nobody (a file being written is held).
void RemoveStaleTemporaries(const std::string& target) {
  Descriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  DIR* listing = folder.Get() >= 0 ? ::fdopendir(::dup(folder.Get())) : nullptr;
  if (listing == nullptr) {
    return;
  }
  const std::string prefix = TemporaryPrefix(target);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (!IsTemporaryName(name, prefix)) {
      continue;
    }
    Descriptor stale(::openat(folder.Get(), name.c_str(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (stale.Get() >= 0 && ::fstat(stale.Get(), &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_uid == ::geteuid() && ::flock(stale.Get(), LOCK_EX | LOCK_NB) == 0) {
      ::unlinkat(folder.Get(), name.c_str(), 0);
    }
  }
  ::closedir(listing);
}

bool ReadAt(int fd, std::uint8_t* data, std::size_t size, off_t offset, std::size_t& got) {
  got = 0;
  while (got < size) {
    const ssize_t read = ::pread(fd, data + got, size - got, offset + static_cast<off_t>(got));
    if (read < 0 && errno == EINTR) {
      continue;
    }
    if (read < 0) {
      return false;
    }
    if (read == 0) {
      break;
    }
    got += static_cast<std::size_t>(read);
  }
  return true;
}

bool WriteAt(int fd, const std::uint8_t* data, std::size_t size, off_t offset, std::string& error) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t written =
        ::pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
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

// Writes one chunk of `content`, unless a test makes the disk full first.
bool WriteChunk(int fd, const Bytes& content, std::size_t offset, std::size_t size,
                const RewriteHooks* hooks, std::string& error) {
  if (hooks != nullptr && hooks->allow_write && !hooks->allow_write(offset, size)) {
    error = ErrnoText(ENOSPC);
    return false;
  }
  return WriteAt(fd, content.data() + offset, size, static_cast<off_t>(offset), error);
}

bool WriteAll(int fd, const Bytes& content, const RewriteHooks* hooks, std::string& error) {
  for (std::size_t offset = 0; offset < content.size(); offset += kChunk) {
    const std::size_t size = std::min(kChunk, content.size() - offset);
    if (!WriteChunk(fd, content, offset, size, hooks, error)) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> AttributeNames(int fd) {
  std::vector<char> names;
  for (;;) {
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size <= 0) {
      return {};
    }
    names.resize(static_cast<std::size_t>(size));
    const ssize_t got = ::flistxattr(fd, names.data(), names.size());
    if (got >= 0) {
      names.resize(static_cast<std::size_t>(got));
      break;
    }
    if (errno != ERANGE) {
      return {};
    }
  }
  std::vector<std::string> result;
  for (std::size_t at = 0; at < names.size();) {
    result.emplace_back(names.data() + at);
    at += result.back().size() + 1;
  }
  return result;
}

// The extended attributes of `from`, access control lists included, become those of `to`.
bool CopyAttributes(int from, int to) {
  const std::vector<std::string> names = AttributeNames(from);
  for (const std::string& name : AttributeNames(to)) {
    if (std::find(names.begin(), names.end(), name) == names.end() &&
        ::fremovexattr(to, name.c_str()) != 0) {
      return false;
    }
  }
  for (const std::string& name : names) {
    const ssize_t size = ::fgetxattr(from, name.c_str(), nullptr, 0);
    std::vector<char> value(static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
    if (size < 0 || ::fgetxattr(from, name.c_str(), value.data(), value.size()) != size ||
        ::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) {
      return false;
    }
  }
  return true;
}

// The system's calls on the held file, for the write in place and its journal.
class HeldDescriptor final : public HeldFile {
 public:
  explicit HeldDescriptor(int fd) : fd_(fd) {}
  bool ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size, std::size_t& got,
              std::string& error) override {
    const bool read = varnock::ReadAt(fd_, data, size, static_cast<off_t>(offset), got);
    if (!read) {
      error = ErrnoText(errno);
    }
    return read;
  }
  bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size,
               std::string& error) override {
    return varnock::WriteAt(fd_, data, size, static_cast<off_t>(offset), error);
  }
  bool Resize(std::uint64_t size, std::string& error) override {
    return Succeeded(::ftruncate(fd_, static_cast<off_t>(size)), error);
  }
  bool Flush(std::string& error) override { return Succeeded(::fsync(fd_), error); }
  bool Describe(FileIdentity& identity, std::uint64_t& size, std::string& error) override {
    struct stat info {};
    if (!Succeeded(::fstat(fd_, &info), error)) {
      return false;
    }
    identity = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
  }
  std::string DiskFullText() const override { return ErrnoText(ENOSPC); }

 private:
  static bool Succeeded(int result, std::string& error) {
    if (result != 0) {
      error = ErrnoText(errno);
    }
    return result == 0;
  }
  int fd_;
};

}  // namespace

struct LockedFile::State {
  std::string target;
  Descriptor fd;
  // Why the file cannot be written, when it was opened for reading only.
  std::string writeError;
  // The file as it was opened, read or last written.
  struct stat seen {};
  // Whether `seen` tells every later write apart (see LockedFile::Stamp).
  bool stampable = true;
  InterruptedWrite interrupted;

  bool OpenOnce(std::string& error);
  bool Lock(std::chrono::steady_clock::time_point deadline, std::string& error);
  bool StillTheSame() const;
  bool ReplaceThroughTemporary(const Bytes& content, const RewriteHooks* hooks, bool& inPlace,
                               std::string& error);
  bool WriteInPlace(const Bytes& content, const RewriteHooks* hooks, std::string& error);
};

bool LockedFile::State::OpenOnce(std::string& error) {
  writeError.clear();
  const int flags = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
  fd = Descriptor(::open(target.c_str(), O_RDWR | flags));
  if (fd.Get() < 0 && (errno == EACCES || errno == EPERM || errno == EROFS || errno == ETXTBSY)) {
    // A file that may only be read can still be found already patched.
    writeError = ErrnoText(errno);
    fd = Descriptor(::open(target.c_str(), O_RDONLY | flags));
  }
  if (fd.Get() < 0 || ::fstat(fd.Get(), &seen) != 0) {
    error = errno == EISDIR ? NotAFileText(target) : ErrnoText(errno);
    return false;
  }
  if (!S_ISREG(seen.st_mode)) {
    error = NotAFileText(target);  // a folder, a pipe, a device: named for what it is
    return false;
  }
  return true;
}

bool LockedFile::State::Lock(std::chrono::steady_clock::time_point deadline, std::string& error) {
  const auto attempt = [&] {
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) {
      return LockAttempt::Taken;
    }
    if (errno == EWOULDBLOCK || errno == EINTR) {
      return LockAttempt::Busy;
    }
    error = ErrnoText(errno);
    return LockAttempt::Failed;
  };
  return WaitForLock(attempt, deadline, target, error) && ::fstat(fd.Get(), &seen) == 0;
}

// The name still leads to the file held, and nobody changed it.
bool LockedFile::State::StillTheSame() const {
  struct stat now {};
  struct stat named {};
  return ::fstat(fd.Get(), &now) == 0 && SameState(now, seen) &&
         ::stat(target.c_str(), &named) == 0 && SameFile(named, seen);
}

LockedFile::LockedFile() = default;
LockedFile::~LockedFile() = default;

bool LockedFile::Open(const std::string& path, std::string& error, const RewriteHooks* hooks) {
  error.clear();
  state_ = std::make_unique<State>();
  const auto wait = hooks != nullptr && hooks->wait ? *hooks->wait : kLockWait;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (!ResolveTarget(path, state_->target, error) || !state_->OpenOnce(error) ||
        !state_->Lock(deadline, error)) {
      state_.reset();
      return false;
    }
    // Another writer may have put a new file in place while this one waited for the old one.
    struct stat named {};
    if (::stat(state_->target.c_str(), &named) == 0 && SameFile(named, state_->seen)) {
      break;
    }
    state_->fd.Close();
  }
  HeldDescriptor held(state_->fd.Get());
  if (!RollBackInterruptedWrite(held, state_->target, state_->writeError.empty(),
                                state_->interrupted, error)) {
    state_.reset();
    return false;
  }
  ::fstat(state_->fd.Get(), &state_->seen);
  RemoveStaleTemporaries(state_->target);
  return true;
}

std::string LockedFile::Stamp() const {
  if (!state_ || !state_->stampable) {
    return {};
  }
  const struct stat& seen = state_->seen;
  return std::to_string(seen.st_dev) + ":" + std::to_string(seen.st_ino) + ":" +
         std::to_string(seen.st_size) + ":" + TimeText(seen.st_mtim) + ":" + TimeText(seen.st_ctim);
}

const InterruptedWrite& LockedFile::Interrupted() const {
  static const InterruptedWrite kNothing;
  return state_ ? state_->interrupted : kNothing;
}

bool LockedFile::Read(Bytes& content, std::string& error) {
  content.clear();
  error.clear();
  if (!state_) {
    error = ErrnoText(EBADF);
    return false;
  }
  Bytes buffer(static_cast<std::size_t>(state_->seen.st_size));
  std::size_t got = 0;
  std::uint8_t beyond = 0;
  std::size_t extra = 0;
  if (!ReadAt(state_->fd.Get(), buffer.data(), buffer.size(), 0, got) ||
      !ReadAt(state_->fd.Get(), &beyond, 1, static_cast<off_t>(buffer.size()), extra)) {
    error = ErrnoText(errno);
    return false;
  }
  // Shorter or longer than when it was opened: another program writes it right now.
  if (got != buffer.size() || extra != 0 || !state_->StillTheSame()) {
    error = ChangedText(state_->target);
    return false;
  }
  content = std::move(buffer);
  return true;
}

bool LockedFile::Rewrite(const Bytes& content, std::string& error, const RewriteHooks* hooks) {
  error.clear();
  if (!state_) {
    error = ErrnoText(EBADF);
    return false;
  }
  // A file without any write permission is read-only, also for a user the system lets
  // write everywhere.
  if (!state_->writeError.empty() || (state_->seen.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    error = state_->writeError.empty() ? ErrnoText(EACCES) : state_->writeError;
    return false;
  }
  if (!state_->StillTheSame()) {
    error = ChangedText(state_->target);
    return false;
  }
  const auto oldSize = static_cast<std::uintmax_t>(state_->seen.st_size);
  if (!WithinSizeLimit(std::max<std::uintmax_t>(content.size(), oldSize), state_->target, error)) {
    return false;
  }
  bool inPlace = state_->seen.st_nlink > 1;
  if (!inPlace && !state_->ReplaceThroughTemporary(content, hooks, inPlace, error)) {
    return false;
  }
  return !inPlace || state_->WriteInPlace(content, hooks, error);
}

bool LockedFile::State::ReplaceThroughTemporary(const Bytes& content, const RewriteHooks* hooks,
                                                bool& inPlace, std::string& error) {
  const std::string name =
      JoinPath(FolderOf(target), TemporaryPrefix(target) + "XXXXXX", PathStyle::Posix);
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  Descriptor temporary(::mkstemp(buffer.data()));
  if (temporary.Get() < 0) {
    // A folder that takes no new files: the file itself is written.
    inPlace = errno == EACCES || errno == EPERM || errno == EROFS;
    error = inPlace ? std::string() : ErrnoText(errno);
    return inPlace;
  }
  const std::string path = buffer.data();
  RemovedOnInterrupt removed(path);
  const auto discard = [&] {
    ::unlink(path.c_str());
    removed.Release();
  };
  // Held while it is written, so that no other run takes it for one left by a killed run.
  ::flock(temporary.Get(), LOCK_EX | LOCK_NB);
  // What the replacement cannot carry over (another user's ownership, an attribute this user
  // may not set) is kept by writing the file itself instead.
  struct stat made {};
  if ((::fchown(temporary.Get(), seen.st_uid, seen.st_gid) != 0 &&
       (::fstat(temporary.Get(), &made) != 0 || made.st_uid != seen.st_uid ||
        made.st_gid != seen.st_gid)) ||
      !CopyAttributes(fd.Get(), temporary.Get())) {
    discard();
    inPlace = true;
    return true;
  }
  // The mode comes last: a change of owner clears the set-user-id bits.
  if (!WriteAll(temporary.Get(), content, hooks, error) || ::fsync(temporary.Get()) != 0 ||
      ::fchmod(temporary.Get(), seen.st_mode & 07777) != 0) {
    if (error.empty()) {
      error = ErrnoText(errno);
    }
    discard();
    return false;
  }
  struct stat written {};
  ::fstat(temporary.Get(), &written);
  if (hooks != nullptr && hooks->before_replace) {
    hooks->before_replace(path);
  }
  if (!StillTheSame()) {
    error = ChangedText(target);
    discard();
    return false;
  }
  if (::rename(path.c_str(), target.c_str()) != 0) {
    error = ErrnoText(errno);
    discard();
    return false;
  }
  removed.Release();
  // The new name is made durable; the content is already in place whatever happens here.
  Descriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) {
    ::fsync(folder.Get());
  }
  // From now on the new file is the one held: it was locked before it took the name.
  fd = std::move(temporary);
  ::fstat(fd.Get(), &seen);
  // The move keeps the time of the last write and sets a later change time: a write after
  // it, even one that puts the times back, leaves other times. When the last write and the
  // move fell in one tick of the clock, or the file is not as it was written, the times
  // cannot tell.
  stampable = seen.st_size == written.st_size && SameTime(seen.st_mtim, written.st_mtim) &&
              Earlier(seen.st_mtim, seen.st_ctim);
  return true;
}

// The content was verified in memory before; the file is written where it differs, under a
// journal of its old bytes.
bool LockedFile::State::WriteInPlace(const Bytes& content, const RewriteHooks* hooks,
                                     std::string& error) {
  if (hooks != nullptr && hooks->before_replace) {
    hooks->before_replace(std::string());
  }
  const InterruptionsHeld held;
  if (!StillTheSame()) {
    error = ChangedText(target);
    return false;
  }
  HeldDescriptor file(fd.Get());
  stampable = false;  // its last write and its times are one
  if (!varnock::WriteInPlace(file, target, content, hooks, error)) {
    return false;
  }
  ::fstat(fd.Get(), &seen);
  return true;
}

}  // namespace varnock
