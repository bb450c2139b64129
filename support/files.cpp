#include "support/files.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <new>
#include <system_error>

#include "support/paths.h"
#include "support/translation.h"
#include "support/utf8.h"

namespace varnock {

namespace fs = std::filesystem;

namespace {

// A path text holding a NUL names no file: the file system would see only the text before it.
bool HoldsNul(const std::string& path) {
  return path.find('\0') != std::string::npos;
}

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return !HoldsNul(path) && fs::is_regular_file(ToFsPath(path), error);
}

// Sizes the buffer for a whole file; false when memory cannot hold it.
bool Allocate(Bytes& buffer, std::uintmax_t size) {
  if (size > buffer.max_size()) {
    return false;
  }
  try {
    buffer.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

// Conversions never throw: on Windows a text that is not valid UTF-8 names a file whose name
// holds U+FFFD where the bad bytes were (so it names no existing file), and on POSIX names are
// bytes, passed as they stand.
fs::path ToFsPath(const std::string& path) {
#ifdef _WIN32
  const std::u16string units = Utf8ToUtf16(path);
  return fs::path(std::wstring(units.begin(), units.end()));
#else
  return fs::path(path);
#endif
}

std::string FromFsPath(const fs::path& path) {
#ifdef _WIN32
  const std::wstring& native = path.native();
  return Utf16ToUtf8(std::u16string(native.begin(), native.end()));
#else
  return path.native();
#endif
}

bool FileExists(const std::string& path) {
  if (TrimNulls(path).empty()) {
    return false;
  }
  return IsRegularFile(path);
}

bool EntryExists(const std::string& path) {
  std::error_code error;
  return !HoldsNul(path) && fs::exists(fs::symlink_status(ToFsPath(path), error));
}

bool FolderExists(const std::string& path) {
  const std::size_t first = path.find_first_not_of(' ');
  if (first == std::string::npos || HoldsNul(path)) {
    return false;
  }
  std::error_code error;
  return fs::is_directory(ToFsPath(path), error);
}

Bytes ReadWholeFile(const std::string& path) {
  Bytes content;
  std::string error;
  ReadWholeFile(path, content, error);
  return content;
}

bool ReadWholeFile(const std::string& path, Bytes& content, std::string& error) {
  content.clear();
  error.clear();
  if (!FileExists(path)) {
    error = NotAFileText(path);
    return false;
  }
  std::error_code sizeError;
  const std::uintmax_t size = fs::file_size(ToFsPath(path), sizeError);
  if (sizeError) {
    error = ErrorText(sizeError);
    return false;
  }
  errno = 0;
  std::ifstream in(ToFsPath(path), std::ios::binary);
  if (!in) {
    const int code = errno != 0 ? errno : EIO;
    error = ErrorText(std::error_code(code, std::generic_category()));
    return false;
  }
  Bytes buffer;
  if (!Allocate(buffer, size)) {
    error = TrFormat("not enough memory to read the %1 bytes of the file", {std::to_string(size)});
    return false;
  }
  in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) {
    // The file changed its length while it was read, or the read failed.
    error = ErrorText(std::make_error_code(std::errc::io_error));
    return false;
  }
  content = std::move(buffer);
  return true;
}

bool RemoveFile(const std::string& path) {
  if (!FileExists(path)) {
    return true;
  }
  const fs::path target = ToFsPath(path);
  std::error_code error;
  const fs::file_status status = fs::symlink_status(target, error);
  if (error) {
    return false;
  }
  // A read-only file loses its read-only mark first; a link is removed, not its target.
  if (!fs::is_symlink(status) &&
      (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, error);
    if (error) {
      return false;
    }
  }
  fs::remove(target, error);
  return !error && !fs::exists(fs::symlink_status(target, error));
}

void CreateFolder(const std::string& path) {
  if (FolderExists(path) || HoldsNul(path)) {
    return;
  }
  std::error_code error;
  fs::create_directory(ToFsPath(path), error);
}

std::string NotAFileText(const std::string& path) {
  std::error_code error;
  const fs::file_status status =
      HoldsNul(path) ? fs::file_status() : fs::status(ToFsPath(path), error);
  switch (status.type()) {
    case fs::file_type::directory:
      return Tr("the path names a folder, not a file");
    case fs::file_type::fifo:
      return Tr("the path names a pipe (FIFO), not a file");
    case fs::file_type::character:
    case fs::file_type::block:
      return Tr("the path names a device, not a file");
    case fs::file_type::socket:
      return Tr("the path names a socket, not a file");
    default:
      if (error == std::errc::filename_too_long) {
        return PathTooLongText(path);
      }
      return ErrorText(std::make_error_code(std::errc::no_such_file_or_directory));
  }
}

bool PathTooLong(const std::string& path) {
  std::error_code error;
  if (!HoldsNul(path)) {
    static_cast<void>(fs::symlink_status(ToFsPath(path), error));
  }
  return error == std::errc::filename_too_long;
}

std::string PathTooLongText(const std::string& path) {
  return TrFormat("the path is too long for the system to open (%1 characters)",
                  {std::to_string(path.size())});
}

std::string ErrorText(const std::error_code& error) {
  std::string text = error.message();
  // Some platforms end their descriptions with a line break or blanks.
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

}  // namespace varnock
