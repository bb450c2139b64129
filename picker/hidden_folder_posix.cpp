#include "picker/hidden_folder.h"

#include "support/paths.h"

namespace varnock {

bool IsHiddenFolder(const std::string& path) {
  const std::string name = GetFileName(path);
  return !name.empty() && name.front() == '.';
}

}  // namespace varnock
