#include <windows.h>

#include <algorithm>
#include <system_error>

#include "support/files.h"
#include "support/rewrite_journal.h"

namespace varnock {

namespace {

std::string LastErrorText() {
  return ErrorText(std::error_code(static_cast<int>(GetLastError()), std::system_category()));
}

bool WriteWhole(HANDLE file, const Bytes& content) {
  for (std::size_t done = 0; done < content.size();) {
    const DWORD part = static_cast<DWORD>(std::min<std::size_t>(1 << 20, content.size() - done));
    DWORD written = 0;
    if (!WriteFile(file, content.data() + done, part, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace

// Windows flushes a new file's name with its content; a folder cannot be flushed.
bool WriteDurably(const std::string& path, const Bytes& content, std::string& error) {
  const HANDLE file = CreateFileW(ToFsPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastErrorText();
    return false;
  }
  const bool written = WriteWhole(file, content) && FlushFileBuffers(file);
  if (!written) {
    error = LastErrorText();
  }
  CloseHandle(file);
  return written;
}

bool RemoveDurably(const std::string& path) {
  return DeleteFileW(ToFsPath(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
         GetLastError() == ERROR_PATH_NOT_FOUND;
}

}  // namespace varnock
