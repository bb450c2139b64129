#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace varnock::testing {

// A forked copy of the test program that runs one piece of work, as a separate process that
// can hit limits, lose its mounts or be killed without touching the test itself.
class ChildProcess {
 public:
  // Starts `work` in the child; what it returns is the child's report to the parent. The child
  // ends with _exit(0) after the report, so nothing of the test framework runs twice.
  explicit ChildProcess(const std::function<std::string()>& work);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  void Kill();
  // Waits for the end and reads the report: empty when the child died before it.
  std::string Report();
  // Whether a signal ended the child (after Kill or Report).
  bool KilledBySignal() const { return signaled_; }

 private:
  pid_t pid_ = -1;
  int report_ = -1;
  bool signaled_ = false;
};

}  // namespace varnock::testing
