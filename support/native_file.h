#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/lock_wait.h"

namespace varnock {

// Which file: the device and inode on POSIX, the volume serial number and file index on
// Windows. Two names of one file have one identity.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The failures the portable code reports itself, in the platform's own words; Last is the
// failure of the system call made last.
enum class SystemError { NotFound, AccessDenied, DiskFull, BadHandle, Last };
std::string SystemErrorText(SystemError error);
// The platform's number of the failure.
int SystemErrorCode(SystemError error);

// A time as the file system keeps it.
struct FileTime {
  std::int64_t seconds = 0;
  std::int64_t nanoseconds = 0;
  bool operator==(const FileTime&) const = default;
  bool operator<(const FileTime& other) const {
    return seconds != other.seconds ? seconds < other.seconds : nanoseconds < other.nanoseconds;
  }
};

// What the system tells of an open file.
struct FileState {
  FileIdentity identity;
  std::uint64_t size = 0;
  std::uint64_t links = 1;
  // The mode on POSIX, the attributes on Windows: read only by the platform's own code.
  std::uint32_t permissions = 0;
  // No write permission for anyone (POSIX), or the read-only attribute (Windows).
  bool readOnly = false;
  // The time of the last write, and of the last change of anything (a write, a move, a change
  // of the times themselves), which no program can set: none where the system keeps none.
  FileTime written;
  FileTime changed;

  // Size, times and identity: what another writer cannot change without leaving a trace.
  bool Unchanged(const FileState& other) const {
    return identity == other.identity && size == other.size && written == other.written &&
           changed == other.changed;
  }
};

// A file the system holds open for this program: a descriptor on POSIX, a handle on Windows,
// closed when the object goes. A failure gives the platform's description in `error`.
class NativeFile {
 public:
  NativeFile() = default;
  // Takes over a descriptor or handle the platform's code opened itself.
  explicit NativeFile(std::intptr_t handle) : handle_(handle) {}
  ~NativeFile();
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;
  NativeFile(NativeFile&& other) noexcept;
  NativeFile& operator=(NativeFile&& other) noexcept;

  bool IsOpen() const { return handle_ != -1; }
  // The descriptor or handle, for the platform's own calls.
  std::intptr_t Handle() const { return handle_; }
  // Closes now and tells whether the close succeeded.
  bool Close();
  // Deletes the file this object holds, by its name `path`, and closes it: in the order in which
  // no other run can meet the name free while the file is still held.
  void RemoveAndClose(const std::string& path);

  // One attempt at opening the existing file `target` and holding it against every other
  // writer: for reading and writing, else for reading only with the reason in `writeError`.
  // Busy while another holds it; `again` on the attempts that follow a busy one.
  LockAttempt OpenHeld(const std::string& target, bool again, std::string& writeError,
                       std::string& error);
  // Opens a file to read it, others may read it too.
  bool OpenToRead(const std::string& path, std::string& error);
  // Makes a new file at `path` and holds it; others may read it meanwhile. An entry already
  // there (a dangling link included) is never followed or replaced: `taken` is then true.
  bool CreateNew(const std::string& path, bool& taken, std::string& error);
  // Makes a hidden file only this user may read at `path`, or empties the one that is there.
  bool CreatePrivate(const std::string& path, std::string& error);

  // Reads up to `size` bytes at `offset`; `got` is smaller at the end of the file.
  bool ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size, std::size_t& got,
              std::string& error) const;
  bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size,
               std::string& error);
  // Cuts the file, or lengthens it, to `size` bytes.
  bool Resize(std::uint64_t size, std::string& error);
  // Makes what was written durable.
  bool Flush(std::string& error);
  bool Describe(FileState& state, std::string& error) const;

 private:
  std::intptr_t handle_ = -1;
};

// The file a symbolic link leads to; the file itself when it is none. An entry that is not a
// file may be refused here already.
bool ResolveTarget(const std::string& path, std::string& target, std::string& error);
// Which file the name `target` leads to now, whoever holds it open.
bool IdentityOfName(const std::string& target, FileIdentity& identity);
// Whether the system lets this program write a file of `size` bytes.
bool WithinSizeLimit(std::uint64_t size, const std::string& target, std::string& error);
// Deletes the name `path`. True when it is gone (also when it was never there).
bool RemoveEntry(const std::string& path);
// Makes the entries of the folder that holds `path` durable, where the system allows.
bool FlushFolderOf(const std::string& path);

}  // namespace varnock
