#include "tests/fault/child_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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
    for (std::size_t done = 0; done < report.size();) {
      const ssize_t written = ::write(ends[1], report.data() + done, report.size() - done);
      if (written <= 0 && errno != EINTR) {
        break;
      }
      done += written > 0 ? static_cast<std::size_t>(written) : 0;
    }
    ::_exit(0);
  }
  ::close(ends[1]);
  report_ = ends[0];
}

ChildProcess::~ChildProcess() {
  Kill();
  if (report_ >= 0) {
    ::close(report_);
  }
}

void ChildProcess::Kill() {
  if (pid_ > 0 && !ended_) {
    ::kill(pid_, SIGKILL);
    Wait();
  }
}

void ChildProcess::Wait() {
  int status = 0;
  while (!ended_ && ::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  signaled_ = ended_ ? signaled_ : WIFSIGNALED(status);
  ended_ = true;
}

std::string ChildProcess::Report() {
  std::string report;
  char buffer[4096];
  for (ssize_t got = 0; (got = ::read(report_, buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno != EINTR) {
      break;
    }
    report.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
  }
  Wait();
  return report;
}

bool EndsBySignal(const std::function<void()>& work) {
  ChildProcess child([&work] {
    work();
    return std::string("not ended");
  });
  return child.Started() && child.Report().empty() && child.KilledBySignal();
}

}  // namespace varnock::testing
