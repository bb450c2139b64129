#include "tests/fault/child_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace varnock::testing {

namespace {

void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written <= 0 && errno != EINTR) {
      return;
    }
    done += written > 0 ? static_cast<std::size_t>(written) : 0;
  }
}

}  // namespace

ChildProcess::ChildProcess(const std::function<std::string()>& work) {
  int ends[2];
  if (::pipe(ends) != 0) {
    return;
  }
  pid_ = ::fork();
  if (pid_ == 0) {
    ::close(ends[0]);
    WriteAll(ends[1], work());
    ::_exit(0);
  }
  ::close(ends[1]);
  report_ = ends[0];
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !exited_ && !signaled_) {
    Kill();
  }
  if (report_ >= 0) {
    ::close(report_);
  }
}

void ChildProcess::Kill() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    Wait();
  }
}

void ChildProcess::Wait() {
  if (exited_ || signaled_) {
    return;
  }
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  exited_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  signaled_ = WIFSIGNALED(status);
}

std::string ChildProcess::Report() {
  std::string report;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(report_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      break;
    }
    report.append(buffer, static_cast<std::size_t>(got));
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
