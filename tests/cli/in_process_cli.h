#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "cli/console_ui.h"
#include "tests/cli/run_process.h"

namespace varnock::testing {

// The current folder while it lives, the one before it afterwards.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : before_(std::filesystem::current_path()) {
    if (!folder.empty()) {
      std::filesystem::current_path(folder);
    }
  }
  ~InFolder() { std::filesystem::current_path(before_); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  std::filesystem::path before_;
};

// varnock-cli run in this process on `arguments`, in `folder` (the current one when empty), as
// its main runs it: its exit status and what it wrote to each stream. What needs the process
// itself (a limit, a closed or full standard stream) is tested on the program.
inline ProcessResult RunCliHere(const std::vector<std::string>& arguments,
                                const std::string& folder = "") {
  std::vector<std::string> all{"varnock-cli"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  const InFolder in(folder);
  std::ostringstream out;
  std::ostringstream err;
  ProcessResult result;
  try {
    result.exit_code = cli::RunCli(all, out, err);
  } catch (const std::exception& error) {
    err << "ERROR: " << cli::ToConsoleLines(error.what()) << '\n';
    result.exit_code = 1;
  }
  result.out = out.str();
  result.err = err.str();
  return result;
}

}  // namespace varnock::testing
