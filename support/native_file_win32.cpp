#include <windows.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "support/files.h"
#include "support/native_file.h"

namespace varnock {

namespace {

constexpr DWORD kChunk = 1 << 20;

std::string LastErrorText(DWORD code) {
  return ErrorText(std::error_code(static_cast<int>(code), std::system_category()));
}

bool Succeeded(bool done, std::string& error) {
  if (!done) {
    error = LastErrorText(GetLastError());
  }
  return done;
}

std::wstring Wide(const std::string& path) {
  return ToFsPath(path).wstring();
}

HANDLE Native(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t Kept(HANDLE handle) {
  return reinterpret_cast<std::intptr_t>(handle);
}

bool Seek(HANDLE file, std::uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber,
          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace

int SystemErrorCode(SystemError error) {
  constexpr std::array<DWORD, 4> kCodes = {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED,
                                           ERROR_DISK_FULL, ERROR_INVALID_HANDLE};
  const DWORD code =
      error == SystemError::Last ? GetLastError() : kCodes.at(static_cast<std::size_t>(error));
  return static_cast<int>(code);
}

bool NativeFile::Close() {
  const HANDLE handle = Native(handle_);
  handle_ = -1;
  return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
}

void NativeFile::RemoveAndClose(const std::string& path) {
  Close();  // a file held open without delete sharing cannot be deleted
  RemoveEntry(path);
}

// Opened without write sharing, the file is held: another writer cannot open it until it is
// closed again, and waits.
LockAttempt NativeFile::OpenHeld(const std::string& target, bool again, std::string& writeError,
                                 std::string& error) {
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  for (;;) {
    handle_ = Kept(CreateFileW(Wide(target).c_str(), access, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD failure = GetLastError();
    if (IsOpen()) {
      return LockAttempt::Taken;
    }
    if (failure == ERROR_ACCESS_DENIED && access != GENERIC_READ) {
      // A file that may only be read can still be found already patched.
      writeError = LastErrorText(failure);
      access = GENERIC_READ;
      continue;
    }
    // While another writer replaces the file, its name is missing for a moment.
    const bool replacedMeanwhile = again && failure == ERROR_FILE_NOT_FOUND;
    if (failure != ERROR_SHARING_VIOLATION && !replacedMeanwhile) {
      error = LastErrorText(failure);
      return LockAttempt::Failed;
    }
    return LockAttempt::Busy;
  }
}

bool NativeFile::OpenToRead(const std::string& path, std::string& error) {
  Close();
  handle_ = Kept(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return Succeeded(IsOpen(), error);
}

// CREATE_NEW never opens what is already there, a link included. Without delete sharing, no
// other run can take the file away while this one holds it.
bool NativeFile::CreateNew(const std::string& path, bool& taken, std::string& error) {
  Close();
  handle_ = Kept(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  const DWORD code = GetLastError();
  taken = !IsOpen() && (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS);
  return Succeeded(IsOpen(), error);
}

bool NativeFile::CreatePrivate(const std::string& path, std::string& error) {
  Close();
  handle_ = Kept(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_HIDDEN, nullptr));
  return Succeeded(IsOpen(), error);
}

bool NativeFile::ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size,
                        std::size_t& got, std::string& error) const {
  got = 0;
  if (!Succeeded(Seek(Native(handle_), offset), error)) {
    return false;
  }
  while (got < size) {
    DWORD read = 0;
    const DWORD part = static_cast<DWORD>(std::min<std::size_t>(kChunk, size - got));
    if (!Succeeded(ReadFile(Native(handle_), data + got, part, &read, nullptr) != 0, error)) {
      return false;
    }
    if (read == 0) {
      break;
    }
    got += read;
  }
  return true;
}

bool NativeFile::WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size,
                         std::string& error) {
  if (!Succeeded(Seek(Native(handle_), offset), error)) {
    return false;
  }
  for (std::size_t done = 0; done < size;) {
    DWORD written = 0;
    const DWORD part = static_cast<DWORD>(std::min<std::size_t>(kChunk, size - done));
    if (!WriteFile(Native(handle_), data + done, part, &written, nullptr) || written == 0) {
      error = LastErrorText(written == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT
                                                                            : GetLastError());
      return false;
    }
    done += written;
  }
  return true;
}

bool NativeFile::Resize(std::uint64_t size, std::string& error) {
  return Succeeded(Seek(Native(handle_), size) && SetEndOfFile(Native(handle_)), error);
}

bool NativeFile::Flush(std::string& error) {
  return Succeeded(FlushFileBuffers(Native(handle_)) != 0, error);
}

bool NativeFile::Describe(FileState& state, std::string& error) const {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!Succeeded(GetFileInformationByHandle(Native(handle_), &info) != 0, error)) {
    return false;
  }
  state.identity = IdentityOf(info);
  state.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  state.links = info.nNumberOfLinks;
  state.permissions = info.dwFileAttributes;
  state.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
  state.written = {(static_cast<std::int64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                       info.ftLastWriteTime.dwLowDateTime,
                   0};
  // No change time: a replaced file takes over some of the identity and times of the file it
  // replaces, and the times of a file are written late, so they cannot vouch for its content.
  state.changed = {};
  return true;
}

bool ResolveTarget(const std::string& path, std::string& target, std::string& error) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = LastErrorText(GetLastError());
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = NotAFileText(FromFsPath(std::filesystem::path(wide)));
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    target = FromFsPath(std::filesystem::path(wide));
    return true;
  }
  NativeFile file(
      Kept(CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
  if (!file.IsOpen()) {
    error = LastErrorText(GetLastError());
    return false;
  }
  std::wstring buffer(32768, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(Native(file.Handle()), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()),
                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= buffer.size()) {
    error = LastErrorText(length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  buffer.resize(length);
  target = FromFsPath(std::filesystem::path(buffer));
  return true;
}

bool IdentityOfName(const std::string& target, FileIdentity& identity) {
  const NativeFile named(Kept(CreateFileW(Wide(target).c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!named.IsOpen() || GetFileInformationByHandle(Native(named.Handle()), &info) == 0) {
    return false;
  }
  identity = IdentityOf(info);
  return true;
}

bool WithinSizeLimit(std::uint64_t /*size*/, const std::string& /*target*/,
                     std::string& /*error*/) {
  return true;  // Windows sets no limit of its own
}

bool RemoveEntry(const std::string& path) {
  return DeleteFileW(Wide(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
         GetLastError() == ERROR_PATH_NOT_FOUND;
}

// Windows flushes a new file's name with its content; a folder cannot be flushed.
bool FlushFolderOf(const std::string& /*path*/) {
  return true;
}

}  // namespace varnock
