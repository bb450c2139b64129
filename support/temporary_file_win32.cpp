#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <random>
#include <string>
#include <system_error>

#include "support/files.h"
#include "support/temporary_file.h"

namespace varnock {

namespace {

std::string LastErrorText(DWORD code) {
  return ErrorText(std::error_code(static_cast<int>(code), std::system_category()));
}

std::wstring Wide(const std::string& path) {
  return ToFsPath(path).wstring();
}

std::wstring FolderOf(const std::string& target) {
  const std::size_t last = target.find_last_of("\\/");
  return last == std::string::npos ? std::wstring(L".") : Wide(target.substr(0, last));
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

}  // namespace

// Named for the process that makes it, so that one left by a killed run can be told.
bool CreateTemporary(const std::string& target, NativeFile& temporary, std::string& path,
                     bool& refused, std::string& error) {
  std::random_device seed;
  std::mt19937 random(seed());
  const std::wstring start = FolderOf(target) + L"\\" + Wide(TemporaryPrefix(target)) +
                             std::to_wstring(GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring name = start + std::to_wstring(random() % 1000000);
    // Delete sharing lets an interruption delete it while it is written.
    const HANDLE file =
        CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      temporary = NativeFile(reinterpret_cast<std::intptr_t>(file));
      path = FromFsPath(std::filesystem::path(name));
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
      break;
    }
  }
  const DWORD failure = GetLastError();
  refused = failure == ERROR_ACCESS_DENIED;
  error = LastErrorText(failure);
  return false;
}

// The replacement keeps the file's owner and security itself.
bool KeepOwnership(const NativeFile& /*held*/, NativeFile& /*temporary*/) {
  return true;
}

// The replacement takes the file's hidden, system and archive marks before it takes its place;
// a file is given its marks by name, closed.
bool KeepPermissions(NativeFile& temporary, const std::string& path, const FileState& held,
                     std::string& error) {
  if (!temporary.Close()) {
    error = LastErrorText(GetLastError());
    return false;
  }
  const DWORD kept =
      held.permissions & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  SetFileAttributesW(Wide(path).c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
  return true;
}

// The replaced file keeps its attributes, security and creation time.
bool ReplaceWithTemporary(const std::string& path, const std::string& target, std::string& error) {
  if (!ReplaceFileW(Wide(target).c_str(), Wide(path).c_str(), nullptr,
                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    error = LastErrorText(GetLastError());
    return false;
  }
  return true;
}

// Temporary files of this file left by a run that was killed: named as this program names
// them, plain files, and made by a process that no longer runs.
void RemoveStaleTemporaries(const std::string& target) {
  const std::wstring folder = FolderOf(target);
  const std::wstring prefix = Wide(TemporaryPrefix(target));
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

}  // namespace varnock
