#include "cli/command.h"

#include "support/resolved_path.h"

namespace varnock::cli {

std::string AbsolutePath(const std::string& path) {
  return ResolvedPath(path);
}

}  // namespace varnock::cli
