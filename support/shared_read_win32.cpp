#include <windows.h>

#include <filesystem>

#include "support/files.h"
#include "support/lock_wait.h"
#include "support/shared_read.h"

namespace varnock {

struct ReadHold::State {
  HANDLE file = INVALID_HANDLE_VALUE;

  ~State() {
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
    }
  }
};

ReadHold::ReadHold() : state_(std::make_unique<State>()) {}
ReadHold::~ReadHold() = default;

// Opened for reading and shared for reading only, the file cannot be opened by a writer, and
// cannot be opened here while a writer has it open.
bool ReadHold::Take(const std::string& path, std::chrono::steady_clock::time_point deadline,
                    std::string& error) {
  if (path.empty() || path.find('\0') != std::string::npos) {
    return true;
  }
  const std::wstring name = ToFsPath(path).wstring();
  bool waited = false;
  const auto attempt = [&] {
    state_->file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD failure = GetLastError();
    // While a writer replaces the file, its name is missing for a moment.
    const bool busy =
        state_->file == INVALID_HANDLE_VALUE &&
        (failure == ERROR_SHARING_VIOLATION || (waited && failure == ERROR_FILE_NOT_FOUND));
    waited = waited || busy;
    return busy ? LockAttempt::Busy : LockAttempt::Taken;
  };
  return WaitForLock(attempt, deadline, path, error);
}

}  // namespace varnock
