#include "support/read_to_end.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "support/files.h"

namespace varnock {

bool ReadToEnd(const std::string& path, Bytes& content, std::string& error) {
  content.clear();
  error.clear();
  if (!FileExists(path)) {
    error = ErrorText(std::make_error_code(std::errc::no_such_file_or_directory));
    return false;
  }
  errno = 0;
  std::ifstream in(ToFsPath(path), std::ios::binary);
  if (!in) {
    error = ErrorText(std::error_code(errno != 0 ? errno : EIO, std::generic_category()));
    return false;
  }
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    content.clear();
    error = ErrorText(std::make_error_code(std::errc::io_error));
    return false;
  }
  return true;
}

}  // namespace varnock
