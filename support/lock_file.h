#pragma once

#include <cstdint>
#include <string>

#include "support/lock_wait.h"

namespace varnock {

// A file whose bytes running programs lock to tell each other what they do: a byte is a slot,
// locked shared by many or exclusively by one. A lock belongs to the open file, not to the
// process, so two opens in one process exclude each other too; every lock goes with the open
// file, when it is closed or when the process ends, however it ends.
class LockFile {
 public:
  enum class Mode { Shared, Exclusive };

  // Opens the file at `path`, made when missing; IsOpen tells whether that worked.
  explicit LockFile(const std::string& path);
  ~LockFile();
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;

  bool IsOpen() const;
  // Locks `slot` in `mode` at once, never waiting: Busy while another holder keeps it. A lock
  // this open file holds on the slot is given up first.
  LockAttempt Lock(int slot, Mode mode);
  void Unlock(int slot);

 private:
  std::intptr_t handle_;
};

}  // namespace varnock
