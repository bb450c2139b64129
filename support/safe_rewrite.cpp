#include "support/safe_rewrite.h"

namespace varnock {

bool RewriteFile(const std::string& path, const Bytes& content, std::string& error,
                 const RewriteHooks* hooks) {
  error.clear();
  LockedFile file;
  return file.Open(path, error, hooks) && file.Rewrite(content, error, hooks);
}

}  // namespace varnock
