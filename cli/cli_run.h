#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace varnock::cli {

// Runs varnock-cli on `arguments` (the program's name first), its output to `out` and its
// messages to `err`; the exit status. Output that cannot be written makes it a failure.
int RunCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace varnock::cli
