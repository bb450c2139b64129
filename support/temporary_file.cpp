#include "support/temporary_file.h"

#include "support/files.h"

namespace varnock {

std::string TemporaryPrefix(const std::string& target) {
  const auto name = ToFsPath(target).filename().native().substr(0, 100);
  return "." + FromFsPath(name) + ".varnock-";
}

}  // namespace varnock
