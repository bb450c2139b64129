#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "support/files.h"
#include "support/safe_rewrite.h"

namespace varnock {

namespace {

constexpr DWORD kChunk = 1 << 20;

std::string LastErrorText(DWORD code) {
  return ErrorText(std::error_code(static_cast<int>(code), std::system_category()));
}

// The handle is closed when the object goes.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

// The temporary file is deleted when the object goes, unless it has taken the file's place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) {
      DeleteFileW(path_.c_str());
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::wstring& path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::wstring path_;
};

// The file a symbolic link leads to; the file itself when it is none.
bool ResolveTarget(const std::wstring& path, std::wstring& target, std::string& error) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = LastErrorText(GetLastError());
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    target = path;
    return true;
  }
  Handle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) {
    error = LastErrorText(GetLastError());
    return false;
  }
  std::wstring buffer(32768, L'\0');
  const DWORD length =
      GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= buffer.size()) {
    error = LastErrorText(length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  buffer.resize(length);
  target = buffer;
  return true;
}

// The file must be a file without the read-only attribute that may be opened for writing.
bool CheckWritable(const std::wstring& target, DWORD& attributes, std::string& error) {
  attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = LastErrorText(GetLastError());
    return false;
  }
  if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    error = LastErrorText(ERROR_ACCESS_DENIED);
    return false;
  }
  Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    error = LastErrorText(GetLastError());
    return false;
  }
  return true;
}

std::wstring FolderOf(const std::wstring& target) {
  const std::size_t last = target.find_last_of(L"\\/");
  return last == std::wstring::npos ? std::wstring(L".") : target.substr(0, last);
}

std::wstring NameOf(const std::wstring& target) {
  const std::size_t last = target.find_last_of(L"\\/:");
  return last == std::wstring::npos ? target : target.substr(last + 1);
}

// A new temporary file next to the target.
HANDLE CreateTemporary(const std::wstring& target, std::wstring& path, std::string& error) {
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = FolderOf(target) + L"\\." + NameOf(target).substr(0, 100) + L".varnock-" +
           std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(random() % 1000000);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      return file;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
      break;
    }
  }
  error = LastErrorText(GetLastError());
  path.clear();
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const Bytes& content, const RewriteHooks* hooks, std::string& error) {
  std::size_t offset = 0;
  while (offset < content.size()) {
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(kChunk, content.size() - offset));
    if (hooks != nullptr && hooks->allow_write && !hooks->allow_write(offset, size)) {
      error = LastErrorText(ERROR_DISK_FULL);
      return false;
    }
    DWORD written = 0;
    if (!WriteFile(file, content.data() + offset, size, &written, nullptr) || written == 0) {
      error = LastErrorText(written == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT
                                                                            : GetLastError());
      return false;
    }
    offset += written;
  }
  if (!FlushFileBuffers(file)) {
    error = LastErrorText(GetLastError());
    return false;
  }
  return true;
}

// The replacement takes the file's hidden, system and archive marks before it takes its place.
void CopyAttributes(DWORD attributes, const std::wstring& temporaryPath) {
  const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                   FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  SetFileAttributesW(temporaryPath.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

bool RewriteFile(const std::string& path, const Bytes& content, std::string& error,
                 const RewriteHooks* hooks) {
  error.clear();
  if (path.empty() || path.find('\0') != std::string::npos) {
    error = LastErrorText(ERROR_FILE_NOT_FOUND);
    return false;
  }
  std::wstring target;
  DWORD attributes = 0;
  if (!ResolveTarget(ToFsPath(path).wstring(), target, error) ||
      !CheckWritable(target, attributes, error)) {
    return false;
  }
  std::wstring temporaryPath;
  const HANDLE created = CreateTemporary(target, temporaryPath, error);
  if (created == INVALID_HANDLE_VALUE) {
    return false;
  }
  // Declared after the temporary file, the handle is closed before that file is deleted on a
  // failure: an open file without delete sharing cannot be deleted.
  TemporaryFile temporary(temporaryPath);
  Handle file(created);
  if (!WriteAll(file.get(), content, hooks, error)) {
    return false;
  }
  if (!file.Close()) {
    error = LastErrorText(GetLastError());
    return false;
  }
  CopyAttributes(attributes, temporary.path());
  if (hooks != nullptr && hooks->before_replace) {
    hooks->before_replace(FromFsPath(std::filesystem::path(temporary.path())));
  }
  // The replaced file keeps its attributes, security and creation time.
  if (!ReplaceFileW(target.c_str(), temporary.path().c_str(), nullptr,
                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    error = LastErrorText(GetLastError());
    return false;
  }
  temporary.Release();
  return true;
}

}  // namespace varnock
