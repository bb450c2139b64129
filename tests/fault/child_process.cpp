#include "tests/fault/child_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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
    FILE* out = ::fdopen(ends[1], "w");
    std::fwrite(report.data(), 1, report.size(), out);
    std::fclose(out);
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
  ssize_t got = 0;
  while ((got = ::read(report_, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
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
