#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "tests/cli/run_process.h"

namespace varnock::testing {

// varnock-cli run in this process on `arguments`, in `folder` (the current one when empty), as
// its main runs it: its exit status and what it wrote to each stream.
inline ProcessResult RunCliHere(const std::vector<std::string>& arguments,
                                const std::string& folder = "") {
  std::vector<std::string> all{"varnock-cli"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  const std::filesystem::path before = std::filesystem::current_path();
  if (!folder.empty()) {
    std::filesystem::current_path(folder);
  }
  std::ostringstream out;
  std::ostringstream err;
  ProcessResult result;
  try {
    result.exit_code = cli::RunCli(all, out, err);
  } catch (const std::exception& error) {
    err << "ERROR: " << error.what() << '\n';
    result.exit_code = 1;
  }
  std::filesystem::current_path(before);
  result.out = out.str();
  result.err = err.str();
  return result;
}

}  // namespace varnock::testing
