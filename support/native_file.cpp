#include "support/native_file.h"

#include <system_error>
#include <utility>

#include "support/files.h"

namespace varnock {

std::string SystemErrorText(SystemError error) {
  return ErrorText(std::error_code(SystemErrorCode(error), std::system_category()));
}

NativeFile::~NativeFile() {
  Close();
}

NativeFile::NativeFile(NativeFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

}  // namespace varnock
