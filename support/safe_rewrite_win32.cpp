#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "support/files.h"
#include "support/interrupt_cleanup.h"
#include "support/lock_wait.h"
#include "support/safe_rewrite.h"
#include "support/write_in_place.h"

namespace varnock {

namespace {

constexpr DWORD kChunk = 1 << 20;
constexpr const wchar_t* kTemporaryMark = L".varnock-";

std::string LastErrorText(DWORD code) {
  return ErrorText(std::error_code(static_cast<int>(code), std::system_category()));
}

std::string ChangedText(const std::wstring& target) {
  return "the file was changed by another program while it was being patched: " +
         FromFsPath(std::filesystem::path(target));
}

// The handle is closed when the object goes.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

// The file a symbolic link leads to; the file itself when it is none.
bool ResolveTarget(const std::wstring& path, std::wstring& target, std::string& error) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = LastErrorText(GetLastError());
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = NotAFileText(FromFsPath(std::filesystem::path(path)));
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

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

bool SameState(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return SameFile(a, b) && a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
         CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

// What the name leads to now, whoever holds it open.
bool NamedFile(const std::wstring& target, BY_HANDLE_FILE_INFORMATION& info) {
  Handle named(CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return named.valid() && GetFileInformationByHandle(named.get(), &info) != 0;
}

std::wstring FolderOf(const std::wstring& target) {
  const std::size_t last = target.find_last_of(L"\\/");
  return last == std::wstring::npos ? std::wstring(L".") : target.substr(0, last);
}

std::wstring TemporaryPrefix(const std::wstring& target) {
  const std::size_t last = target.find_last_of(L"\\/:");
  const std::wstring name = last == std::wstring::npos ? target : target.substr(last + 1);
  return L"." + name.substr(0, 100) + kTemporaryMark;
}

// The process that made a temporary file named PREFIX + process id + "-" + number, when it
// still runs.
bool MakerRuns(const std::wstring& name, const std::wstring& prefix) {
  const std::wstring rest = name.substr(prefix.size());
  const std::size_t dash = rest.find(L'-');
  if (dash == 0 || dash == std::wstring::npos || dash + 1 == rest.size() ||
      !std::all_of(rest.begin(), rest.end(),
                   [](wchar_t c) { return std::iswdigit(c) || c == L'-'; })) {
    return true;  // not a name this program makes: leave it alone
  }
  const DWORD id = static_cast<DWORD>(std::wcstoul(rest.substr(0, dash).c_str(), nullptr, 10));
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (process == nullptr) {
    return GetLastError() == ERROR_ACCESS_DENIED;
  }
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

// Temporary files of this file left by a run that was killed: named as this program names
// them, plain files, and made by a process that no longer runs.
void RemoveStaleTemporaries(const std::wstring& target) {
  const std::wstring folder = FolderOf(target);
  const std::wstring prefix = TemporaryPrefix(target);
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\" + prefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return;
  }
  do {
    const std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
        name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
        !MakerRuns(name, prefix)) {
      DeleteFileW((folder + L"\\" + name).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// A new temporary file next to the target.
HANDLE CreateTemporary(const std::wstring& target, std::wstring& path, DWORD& failure) {
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = FolderOf(target) + L"\\" + TemporaryPrefix(target) +
           std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(random() % 1000000);
    // Delete sharing lets an interruption delete it while it is written.
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      return file;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
      break;
    }
  }
  failure = GetLastError();
  path.clear();
  return INVALID_HANDLE_VALUE;
}

bool Seek(HANDLE file, std::size_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

bool ReadFully(HANDLE file, std::uint8_t* data, std::size_t size, std::size_t& got) {
  got = 0;
  while (got < size) {
    DWORD read = 0;
    const DWORD part = static_cast<DWORD>(std::min<std::size_t>(kChunk, size - got));
    if (!ReadFile(file, data + got, part, &read, nullptr)) {
      return false;
    }
    if (read == 0) {
      break;
    }
    got += read;
  }
  return true;
}

bool WriteFully(HANDLE file, const std::uint8_t* data, std::size_t size, std::string& error) {
  std::size_t done = 0;
  while (done < size) {
    DWORD written = 0;
    const DWORD part = static_cast<DWORD>(std::min<std::size_t>(kChunk, size - done));
    if (!WriteFile(file, data + done, part, &written, nullptr) || written == 0) {
      error = LastErrorText(written == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT
                                                                            : GetLastError());
      return false;
    }
    done += written;
  }
  return true;
}

// Writes one chunk of `content` where the file pointer stands, unless a test makes the disk
// full first.
bool WriteChunk(HANDLE file, const Bytes& content, std::size_t offset, std::size_t size,
                const RewriteHooks* hooks, std::string& error) {
  if (hooks != nullptr && hooks->allow_write && !hooks->allow_write(offset, size)) {
    error = LastErrorText(ERROR_DISK_FULL);
    return false;
  }
  return WriteFully(file, content.data() + offset, size, error);
}

bool WriteAll(HANDLE file, const Bytes& content, const RewriteHooks* hooks, std::string& error) {
  for (std::size_t offset = 0; offset < content.size(); offset += kChunk) {
    const std::size_t size = std::min<std::size_t>(kChunk, content.size() - offset);
    if (!WriteChunk(file, content, offset, size, hooks, error)) {
      return false;
    }
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

// The file's path as the journal names it: with "\" alone, so that its folder and name are
// found whichever separators it was given with.
std::string JournalTarget(const std::wstring& target) {
  return FromFsPath(std::filesystem::path(target).make_preferred());
}

// The system's calls on the held file, for the write in place and its journal.
class HeldHandle final : public HeldFile {
 public:
  explicit HeldHandle(HANDLE file) : file_(file) {}
  bool ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size, std::size_t& got,
              std::string& error) override {
    return Succeeded(Seek(file_, offset) && ReadFully(file_, data, size, got), error);
  }
  bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size,
               std::string& error) override {
    return Succeeded(Seek(file_, offset), error) && WriteFully(file_, data, size, error);
  }
  bool Resize(std::uint64_t size, std::string& error) override {
    return Succeeded(Seek(file_, size) && SetEndOfFile(file_), error);
  }
  bool Flush(std::string& error) override { return Succeeded(FlushFileBuffers(file_), error); }
  bool Describe(FileIdentity& identity, std::uint64_t& size, std::string& error) override {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!Succeeded(GetFileInformationByHandle(file_, &info), error)) {
      return false;
    }
    identity = {info.dwVolumeSerialNumber,
                (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return true;
  }
  std::string DiskFullText() const override { return LastErrorText(ERROR_DISK_FULL); }

 private:
  static bool Succeeded(bool done, std::string& error) {
    if (!done) {
      error = LastErrorText(GetLastError());
    }
    return done;
  }
  HANDLE file_;
};

}  // namespace

struct LockedFile::State {
  std::wstring target;
  Handle file;
  // Why the file cannot be written, when it was opened for reading only.
  std::string writeError;
  BY_HANDLE_FILE_INFORMATION seen{};
  InterruptedWrite interrupted;

  bool OpenOnce(std::chrono::steady_clock::time_point deadline, std::string& error);
  bool StillTheSame() const;
  bool ReplaceThroughTemporary(const Bytes& content, const RewriteHooks* hooks, bool& inPlace,
                               std::string& error);
  bool WriteInPlace(const Bytes& content, const RewriteHooks* hooks, std::string& error);
};

// Opened without write sharing, the file is held: another writer cannot open it until it is
// closed again, and waits.
bool LockedFile::State::OpenOnce(std::chrono::steady_clock::time_point deadline,
                                 std::string& error) {
  bool waited = false;
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  const auto attempt = [&] {
    for (;;) {
      file.Reset(CreateFileW(target.c_str(), access, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      const DWORD failure = GetLastError();
      if (file.valid()) {
        return LockAttempt::Taken;
      }
      if (failure == ERROR_ACCESS_DENIED && access != GENERIC_READ) {
        // A file that may only be read can still be found already patched.
        writeError = LastErrorText(failure);
        access = GENERIC_READ;
        continue;
      }
      // While another writer replaces the file, its name is missing for a moment.
      const bool replacedMeanwhile = waited && failure == ERROR_FILE_NOT_FOUND;
      if (failure != ERROR_SHARING_VIOLATION && !replacedMeanwhile) {
        error = LastErrorText(failure);
        return LockAttempt::Failed;
      }
      waited = true;
      return LockAttempt::Busy;
    }
  };
  if (!WaitForLock(attempt, deadline, FromFsPath(std::filesystem::path(target)), error)) {
    return false;
  }
  if (!GetFileInformationByHandle(file.get(), &seen)) {
    error = LastErrorText(GetLastError());
    return false;
  }
  return true;
}

bool LockedFile::State::StillTheSame() const {
  BY_HANDLE_FILE_INFORMATION now{};
  BY_HANDLE_FILE_INFORMATION named{};
  return GetFileInformationByHandle(file.get(), &now) != 0 && SameState(now, seen) &&
         NamedFile(target, named) && SameFile(named, seen);
}

LockedFile::LockedFile() = default;
LockedFile::~LockedFile() = default;

bool LockedFile::Open(const std::string& path, std::string& error, const RewriteHooks* hooks) {
  error.clear();
  state_ = std::make_unique<State>();
  if (path.empty() || path.find('\0') != std::string::npos) {
    error = LastErrorText(ERROR_FILE_NOT_FOUND);
    state_.reset();
    return false;
  }
  const auto wait = hooks != nullptr && hooks->wait ? *hooks->wait : kLockWait;
  if (!ResolveTarget(ToFsPath(path).wstring(), state_->target, error) ||
      !state_->OpenOnce(std::chrono::steady_clock::now() + wait, error)) {
    state_.reset();
    return false;
  }
  HeldHandle held(state_->file.get());
  if (!RollBackInterruptedWrite(held, JournalTarget(state_->target), state_->writeError.empty(),
                                state_->interrupted, error)) {
    state_.reset();
    return false;
  }
  GetFileInformationByHandle(state_->file.get(), &state_->seen);
  RemoveStaleTemporaries(state_->target);
  return true;
}

// A replaced file takes over some of the identity and times of the file it replaces, and the
// times of a file are written late: they cannot vouch for its content, which is summed again.
std::string LockedFile::Stamp() const {
  return {};
}

const InterruptedWrite& LockedFile::Interrupted() const {
  static const InterruptedWrite kNothing;
  return state_ ? state_->interrupted : kNothing;
}

bool LockedFile::Read(Bytes& content, std::string& error) {
  content.clear();
  error.clear();
  if (!state_) {
    error = LastErrorText(ERROR_INVALID_HANDLE);
    return false;
  }
  const std::uint64_t size =
      (static_cast<std::uint64_t>(state_->seen.nFileSizeHigh) << 32) | state_->seen.nFileSizeLow;
  Bytes buffer(static_cast<std::size_t>(size));
  std::size_t got = 0;
  std::uint8_t beyond = 0;
  std::size_t extra = 0;
  if (!Seek(state_->file.get(), 0) ||
      !ReadFully(state_->file.get(), buffer.data(), buffer.size(), got) ||
      !ReadFully(state_->file.get(), &beyond, 1, extra)) {
    error = LastErrorText(GetLastError());
    return false;
  }
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
    error = LastErrorText(ERROR_INVALID_HANDLE);
    return false;
  }
  if (!state_->writeError.empty() ||
      (state_->seen.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
    error = state_->writeError.empty() ? LastErrorText(ERROR_ACCESS_DENIED) : state_->writeError;
    return false;
  }
  if (!state_->StillTheSame()) {
    error = ChangedText(state_->target);
    return false;
  }
  bool inPlace = state_->seen.nNumberOfLinks > 1;
  if (!inPlace && !state_->ReplaceThroughTemporary(content, hooks, inPlace, error)) {
    return false;
  }
  return !inPlace || state_->WriteInPlace(content, hooks, error);
}

bool LockedFile::State::ReplaceThroughTemporary(const Bytes& content, const RewriteHooks* hooks,
                                                bool& inPlace, std::string& error) {
  std::wstring path;
  DWORD failure = 0;
  Handle temporary(CreateTemporary(target, path, failure));
  if (!temporary.valid()) {
    // A folder that takes no new files: the file itself is written.
    inPlace = failure == ERROR_ACCESS_DENIED;
    error = inPlace ? std::string() : LastErrorText(failure);
    return inPlace;
  }
  const std::string utf8Path = FromFsPath(std::filesystem::path(path));
  RemovedOnInterrupt removed(utf8Path);
  const auto discard = [&] {
    temporary.Close();
    DeleteFileW(path.c_str());
    removed.Release();
  };
  if (!WriteAll(temporary.get(), content, hooks, error) || !temporary.Close()) {
    if (error.empty()) {
      error = LastErrorText(GetLastError());
    }
    discard();
    return false;
  }
  CopyAttributes(seen.dwFileAttributes, path);
  if (hooks != nullptr && hooks->before_replace) {
    hooks->before_replace(utf8Path);
  }
  if (!StillTheSame()) {
    error = ChangedText(target);
    discard();
    return false;
  }
  // The replaced file keeps its attributes, security and creation time.
  if (!ReplaceFileW(target.c_str(), path.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                    nullptr)) {
    error = LastErrorText(GetLastError());
    discard();
    return false;
  }
  removed.Release();
  file.Close();
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
  HeldHandle handle(file.get());
  if (!varnock::WriteInPlace(handle, JournalTarget(target), content, hooks, error)) {
    return false;
  }
  GetFileInformationByHandle(file.get(), &seen);
  return true;
}

}  // namespace varnock
