#pragma once

#include <string>

namespace varnock {

// While the object lives, the file at `path` is deleted when the program is interrupted before
// it ends: SIGINT, SIGTERM or SIGHUP on POSIX, Ctrl-C, Ctrl-Break or a closed console on
// Windows. The interruption then takes its usual course (the program ends).
class RemovedOnInterrupt {
 public:
  explicit RemovedOnInterrupt(std::string path);
  ~RemovedOnInterrupt();
  RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
  RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

  // The file is no longer deleted (it has taken another file's place).
  void Release();

 private:
  std::string path_;
  int slot_ = -1;
};

}  // namespace varnock
