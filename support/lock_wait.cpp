#include "support/lock_wait.h"

#include <algorithm>
#include <thread>

#include "support/translation.h"

namespace varnock {

bool WaitForLock(const std::function<LockAttempt()>& attempt,
                 std::chrono::steady_clock::time_point deadline, const std::string& target,
                 std::string& error) {
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    const LockAttempt result = attempt();
    if (result != LockAttempt::Busy) {
      return result == LockAttempt::Taken;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      error = TrFormat("the file is in use by another program: %1", {target});
      return false;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(4));
  }
}

}  // namespace varnock
