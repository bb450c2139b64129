#include "tests/cli/run_process.h"

#include <sys/wait.h>

#include <cstdlib>

#include "tests/common/temp_dir.h"

namespace varnock::testing {

namespace {

// The text as one word of the shell, whatever bytes it holds.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

std::string TextOf(const std::string& path) {
  const Bytes bytes = ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

}  // namespace

// Both streams go to files, so that neither can fill up and block the program.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& folder) {
  const TempDir streams;
  std::string command = folder.empty() ? "exec " : "cd " + Quoted(folder) + " && exec ";
  command += Quoted(program);
  for (const std::string& argument : arguments) {
    command += " " + Quoted(argument);
  }
  command += " </dev/null >" + Quoted(streams.File("out")) + " 2>" + Quoted(streams.File("err"));
  const int status = std::system(command.c_str());
  ProcessResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = TextOf(streams.File("out"));
  result.err = TextOf(streams.File("err"));
  return result;
}

}  // namespace varnock::testing
