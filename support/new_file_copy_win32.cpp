#include <windows.h>

#include <algorithm>
#include <system_error>
#include <vector>

#include "support/files.h"
#include "support/new_file_copy.h"
#include "support/utf8.h"

namespace varnock {

namespace {

constexpr DWORD kChunk = 1 << 16;

std::wstring Wide(const std::string& path) {
  const std::u16string units = Utf8ToUtf16(path);
  return std::wstring(units.begin(), units.end());
}

std::string LastErrorText(DWORD code) {
  return ErrorText(std::error_code(static_cast<int>(code), std::system_category()));
}

bool WriteAll(HANDLE to, const char* data, std::size_t size, std::string& error) {
  for (std::size_t done = 0; done < size;) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size - done, kChunk));
    DWORD put = 0;
    if (WriteFile(to, data + done, piece, &put, nullptr) == 0 || put != piece) {
      error = LastErrorText(GetLastError());
      return false;
    }
    done += put;
  }
  return true;
}

bool CopyContent(HANDLE from, HANDLE to, std::string& error) {
  std::vector<char> buffer(kChunk);
  for (;;) {
    DWORD got = 0;
    if (ReadFile(from, buffer.data(), kChunk, &got, nullptr) == 0) {
      error = LastErrorText(GetLastError());
      return false;
    }
    if (got == 0) {
      return true;
    }
    if (!WriteAll(to, buffer.data(), got, error)) {
      return false;
    }
  }
}

}  // namespace

HeldCopy::~HeldCopy() {
  Release();
}

void HeldCopy::Release() {
  if (handle_ != -1) {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
  }
}

NewCopy HeldCopy::Make(const std::string& source, const std::string& destination,
                       std::string& error) {
  error.clear();
  const HANDLE from = CreateFileW(Wide(source).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (from == INVALID_HANDLE_VALUE) {
    error = LastErrorText(GetLastError());
    return NewCopy::Failed;
  }
  // CREATE_NEW never opens what is already there, a link included. Without delete sharing,
  // no other run can take the copy away while this one holds it.
  const HANDLE to =
      CreateFileW(Wide(destination).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (to == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    CloseHandle(from);
    error = LastErrorText(code);
    return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ? NewCopy::Taken
                                                                     : NewCopy::Failed;
  }
  const bool copied = CopyContent(from, to, error);
  CloseHandle(from);
  if (!copied) {
    CloseHandle(to);
    DeleteFileW(Wide(destination).c_str());
    return NewCopy::Failed;
  }
  path_ = destination;
  handle_ = reinterpret_cast<std::intptr_t>(to);
  return NewCopy::Made;
}

NewCopy WriteNewFile(const std::string& path, const Bytes& content, std::string& error) {
  error.clear();
  // CREATE_NEW never opens what is already there, a link included.
  const HANDLE to = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (to == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    error = LastErrorText(code);
    return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ? NewCopy::Taken
                                                                     : NewCopy::Failed;
  }
  bool written = WriteAll(to, reinterpret_cast<const char*>(content.data()), content.size(), error);
  if (CloseHandle(to) == 0 && written) {
    error = LastErrorText(GetLastError());
    written = false;
  }
  if (!written) {
    DeleteFileW(Wide(path).c_str());
    return NewCopy::Failed;
  }
  return NewCopy::Made;
}

void HeldCopy::Remove() {
  Release();
  if (!path_.empty()) {
    DeleteFileW(Wide(path_).c_str());
    path_.clear();
  }
}

bool RemoveStaleCopy(const std::string& path, const std::string& source) {
  // A copy another run holds cannot be deleted: only one whose run has ended goes.
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                        FILE_ATTRIBUTE_READONLY)) == 0 &&
         HoldsStartOf(path, source) && DeleteFileW(Wide(path).c_str()) != 0;
}

}  // namespace varnock
