#include "tests/fault/child_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace varnock::testing {

ChildProcess::ChildProcess(const std::function<std::string()>& work) {
  int ends[2];
  if (::pipe(ends) != 0) {
    return;
  }
  pid_ = ::fork();
  if (pid_ == 0) {
    ::close(ends[0]);
    const std::string report = work();
    [[maybe_unused]] const ssize_t written = ::write(ends[1], report.data(), report.size());
    ::_exit(0);
  }
  ::close(ends[1]);
  report_ = ends[0];
}

ChildProcess::~ChildProcess() {
  Kill();
  ::close(report_);
}

void ChildProcess::Kill() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    Report();
  }
}

std::string ChildProcess::Report() {
  std::string report;
  char buffer[4096];
  for (ssize_t got = 0; (got = ::read(report_, buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno != EINTR) {
      break;
    }
    report.append(buffer, got < 0 ? 0 : static_cast<std::size_t>(got));
  }
  int status = 0;
  while (pid_ > 0 && ::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  signaled_ = signaled_ || (pid_ > 0 && WIFSIGNALED(status));
  pid_ = -1;
  return report;
}

}  // namespace varnock::testing
