#include <windows.h>

#include "support/files.h"
#include "support/lock_file.h"

namespace varnock {

namespace {

HANDLE Handle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

LockFile::LockFile(const std::string& path)
    : handle_(reinterpret_cast<std::intptr_t>(
          CreateFileW(ToFsPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_HIDDEN, nullptr))) {}

LockFile::~LockFile() {
  if (IsOpen()) {
    CloseHandle(Handle(handle_));
  }
}

bool LockFile::IsOpen() const {
  return Handle(handle_) != INVALID_HANDLE_VALUE;
}

LockAttempt LockFile::Lock(int slot, Mode mode) {
  if (!IsOpen()) {
    return LockAttempt::Failed;
  }
  // Windows keeps a shared and an exclusive lock of one handle side by side: the old one goes
  // first.
  Unlock(slot);
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(slot);
  const DWORD flags =
      (mode == Mode::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY;
  if (LockFileEx(Handle(handle_), flags, 0, 1, 0, &at) != 0) {
    return LockAttempt::Taken;
  }
  return GetLastError() == ERROR_LOCK_VIOLATION ? LockAttempt::Busy : LockAttempt::Failed;
}

void LockFile::Unlock(int slot) {
  if (!IsOpen()) {
    return;
  }
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(slot);
  // Both kinds, in case one slot was locked twice.
  while (UnlockFileEx(Handle(handle_), 0, 1, 0, &at) != 0) {
  }
}

}  // namespace varnock
