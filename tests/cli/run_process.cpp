#include "tests/cli/run_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

namespace varnock::testing {

namespace {

[[noreturn]] void RunChild(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& folder, int outFd, int errFd) {
  const int nullFd = open("/dev/null", O_RDONLY);
  dup2(nullFd, 0);
  dup2(outFd, 1);
  dup2(errFd, 2);
  if (!folder.empty() && chdir(folder.c_str()) != 0) {
    _exit(126);
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

// Reads both pipes until both are closed, so that neither can fill up and block the child.
void Drain(int outFd, int errFd, ProcessResult& result) {
  std::array<pollfd, 2> fds{{{outFd, POLLIN, 0}, {errFd, POLLIN, 0}}};
  std::array<std::string*, 2> sinks{&result.out, &result.err};
  int open = 2;
  char buffer[4096];
  while (open > 0) {
    poll(fds.data(), fds.size(), -1);
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) {
        continue;
      }
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& folder) {
  int outPipe[2];
  int errPipe[2];
  ProcessResult result;
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
    return result;
  }
  const pid_t child = fork();
  if (child == 0) {
    close(outPipe[0]);
    close(errPipe[0]);
    RunChild(program, arguments, folder, outPipe[1], errPipe[1]);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  Drain(outPipe[0], errPipe[0], result);
  int status = 0;
  waitpid(child, &status, 0);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace varnock::testing
