#pragma once

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

namespace varnock::testing {

// A forked copy of the test program that runs one piece of work, as a separate process that
// can hit limits, lose its mounts or be killed without touching the test itself.
class ChildProcess {
 public:
  // Starts `work` in the child; what it returns is the child's report to the parent. The child
  // ends with _exit(0) after the report, so nothing of the test framework runs twice.
  explicit ChildProcess(const std::function<std::string()>& work) {
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
  ~ChildProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
    }
    Report();
    ::close(report_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Waits for the end and reads the report: empty when the child died before it.
  std::string Report() {
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
  // Whether a signal ended the child (known after Report).
  bool KilledBySignal() const { return signaled_; }

 private:
  pid_t pid_ = -1;
  int report_ = -1;
  bool signaled_ = false;
};

}  // namespace varnock::testing
