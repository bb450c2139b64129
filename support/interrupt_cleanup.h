#pragma once

#include <memory>
#include <string>

namespace varnock {

// While the object lives, the file at `path` is deleted when the program is interrupted before
// it ends: by any signal it may catch that would end it on POSIX (SIGINT, SIGTERM, SIGHUP,
// SIGQUIT, SIGPIPE, SIGALRM, SIGUSR1…), by Ctrl-C, Ctrl-Break or a closed console on Windows. The
// interruption then takes its usual course (the program ends).
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

// While the object lives, an interruption (the same ones) waits, whichever thread of the
// program it reaches, so that a file being written in place is not left half old and half new;
// a closed console on Windows waits only as long as the system allows (a few seconds). An
// interruption that came meanwhile takes its usual course when the last such object goes.
class InterruptionsHeld {
 public:
  InterruptionsHeld();
  ~InterruptionsHeld();
  InterruptionsHeld(const InterruptionsHeld&) = delete;
  InterruptionsHeld& operator=(const InterruptionsHeld&) = delete;

 private:
  struct SavedMask;  // what the platform restores when the hold ends
  std::unique_ptr<SavedMask> saved_;
};

}  // namespace varnock
