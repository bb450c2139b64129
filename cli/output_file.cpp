#include "cli/output_file.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "cli/command.h"
#include "support/files.h"
#include "support/safe_rewrite.h"

namespace varnock::cli {

namespace {

bool WriteNewFile(const std::string& path, const Bytes& content, std::string& error) {
  errno = 0;
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()),
            static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out.fail()) {
    return true;
  }
  error = ErrorText(std::error_code(errno == 0 ? EIO : errno, std::generic_category()));
  RemoveFile(path);
  return false;
}

// Anything by that name: a file, a folder, a pipe, or a link, even one that leads nowhere.
bool NameTaken(const std::string& path) {
  std::error_code error;
  const auto type = std::filesystem::symlink_status(ToFsPath(path), error).type();
  return type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::none;
}

}  // namespace

int WriteOutputFile(const std::string& path, const Bytes& content, bool force, ConsoleUi& console) {
  const bool exists = NameTaken(path);
  if (exists && !force) {
    console.Err() << "ERROR: " << path << " already exists; give --force to replace it\n";
    return kExitFailure;
  }
  std::string error;
  const bool written =
      exists ? RewriteFile(path, content, error) : WriteNewFile(path, content, error);
  if (!written) {
    console.Err() << "ERROR: cannot write " << path << "\nError mexage: " << error << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace varnock::cli
