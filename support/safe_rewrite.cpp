#include "support/safe_rewrite.h"

#include <filesystem>
#include <system_error>

#include "support/files.h"
#include "support/paths.h"
#include "support/rewrite_journal.h"

namespace varnock {

namespace {

// A journal beside the file, or any in the per-user folder: a look that costs a few calls.
bool JournalMayBeThere(const std::string& path) {
  const std::string folder = UserJournalFolder(false);
  std::error_code error;
  const std::filesystem::path target = std::filesystem::canonical(ToFsPath(path), error);
  if (error) {
    return false;  // the opening that follows says why
  }
  return FileExists(JournalBeside(FromFsPath(target))) ||
         (!folder.empty() && !std::filesystem::is_empty(ToFsPath(folder), error) && !error);
}

}  // namespace

bool RestoreInterruptedWrite(const std::string& path, InterruptedWrite& found, std::string& error) {
  found = InterruptedWrite{};
  error.clear();
  if (!JournalMayBeThere(path)) {
    return true;
  }
  LockedFile file;
  if (!file.Open(path, error)) {
    return false;
  }
  found = file.Interrupted();
  return true;
}

bool RewriteFile(const std::string& path, const Bytes& content, std::string& error,
                 const RewriteHooks* hooks) {
  error.clear();
  LockedFile file;
  return file.Open(path, error, hooks) && file.Rewrite(content, error, hooks);
}

}  // namespace varnock
