#pragma once

#include <string>
#include <vector>

namespace varnock::testing {

struct ProcessResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `arguments` in `folder` (the current one when empty), without standard
// input, and collects both output streams.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& folder = "");

}  // namespace varnock::testing
