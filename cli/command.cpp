#include "cli/command.h"

#include <filesystem>
#include <system_error>

#include "support/files.h"

namespace varnock::cli {

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(ToFsPath(path), error);
  if (error) {
    return path;
  }
  std::filesystem::path normal = absolute.lexically_normal();
  // "folder/." normalises to "folder/": folders are passed without a trailing separator.
  if (!normal.has_filename() && normal != normal.root_path()) {
    normal = normal.parent_path();
  }
  return FromFsPath(normal);
}

int ExitStatusOf(ResultCode result) {
  switch (result) {
    case ResultDone:
      return kExitOk;
    case ResultAlreadyDone:
      return kExitAlreadyDone;
    default:
      return kExitFailure;
  }
}

}  // namespace varnock::cli
