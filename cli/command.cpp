#include "cli/command.h"

#include "support/resolved_path.h"

namespace varnock::cli {

std::string AbsolutePath(const std::string& path) {
  return ResolvedPath(path);
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
