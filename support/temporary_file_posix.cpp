#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <system_error>
#include <vector>

#include "support/files.h"
#include "support/paths.h"
#include "support/temporary_file.h"

namespace varnock {

namespace {

constexpr std::size_t kTemporaryLetters = 6;

std::string ErrnoText(int code) {
  return ErrorText(std::error_code(code, std::system_category()));
}

int Fd(const NativeFile& file) {
  return static_cast<int>(file.Handle());
}

std::string FolderOf(const std::string& target) {
  const std::string folder = GetParentFolder(target, PathStyle::Posix);
  return folder.empty() ? "/" : folder;
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
  return name.size() == prefix.size() + kTemporaryLetters &&
         name.compare(0, prefix.size(), prefix) == 0 &&
         std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
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

}  // namespace

bool CreateTemporary(const std::string& target, NativeFile& temporary, std::string& path,
                     bool& refused, std::string& error) {
  const std::string name =
      JoinPath(FolderOf(target), TemporaryPrefix(target) + "XXXXXX", PathStyle::Posix);
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  const int fd = ::mkstemp(buffer.data());
  if (fd < 0) {
    const int code = errno;
    refused = code == EACCES || code == EPERM || code == EROFS;
    error = ErrnoText(code);
    return false;
  }
  temporary = NativeFile(fd);
  path = buffer.data();
  ::flock(fd, LOCK_EX | LOCK_NB);
  return true;
}

bool KeepOwnership(const NativeFile& held, NativeFile& temporary) {
  struct stat seen {};
  struct stat made {};
  if (::fstat(Fd(held), &seen) != 0) {
    return false;
  }
  const bool owned = ::fchown(Fd(temporary), seen.st_uid, seen.st_gid) == 0 ||
                     (::fstat(Fd(temporary), &made) == 0 && made.st_uid == seen.st_uid &&
                      made.st_gid == seen.st_gid);
  return owned && CopyAttributes(Fd(held), Fd(temporary));
}

// The mode comes last: a change of owner clears the set-user-id bits.
bool KeepPermissions(NativeFile& temporary, const std::string& /*path*/, const FileState& held,
                     std::string& error) {
  if (::fchmod(Fd(temporary), static_cast<mode_t>(held.permissions & 07777)) != 0) {
    error = ErrnoText(errno);
    return false;
  }
  return true;
}

bool ReplaceWithTemporary(const std::string& path, const std::string& target, std::string& error) {
  if (::rename(path.c_str(), target.c_str()) != 0) {
    error = ErrnoText(errno);
    return false;
  }
  // The new name is made durable; the content is already in place whatever happens here.
  FlushFolderOf(target);
  return true;
}

// Temporary files of this file left by a run that was killed: named as this program names
// them, plain files of the same user, and held by nobody (a file being written is held).
void RemoveStaleTemporaries(const std::string& target) {
  const NativeFile folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  DIR* listing = folder.IsOpen() ? ::fdopendir(::dup(Fd(folder))) : nullptr;
  if (listing == nullptr) {
    return;
  }
  const std::string prefix = TemporaryPrefix(target);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (!IsTemporaryName(name, prefix)) {
      continue;
    }
    const NativeFile stale(::openat(Fd(folder), name.c_str(),
                                    O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (stale.IsOpen() && ::fstat(Fd(stale), &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_uid == ::geteuid() && ::flock(Fd(stale), LOCK_EX | LOCK_NB) == 0) {
      ::unlinkat(Fd(folder), name.c_str(), 0);
    }
  }
  ::closedir(listing);
}

}  // namespace varnock
