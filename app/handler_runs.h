#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>

#include "ui/user_interface.h"

namespace varnock {

// The main window's handlers as they run: a handler may run others inside it, nested, and an
// unexpected failure in any ends in one plain message. Work that comes while one runs (files
// dropped before a box or the Patches window was shown) waits for it to end: nothing changes
// under a running handler.
class HandlerRuns {
 public:
  explicit HandlerRuns(UserInterface& ui) : ui_(ui) {}

  // A handler is running, a nested one included.
  bool Running() const { return running_ > 0; }
  // Runs `handler`; an unexpected failure ends in a message that starts with `failed`, translated
  // already ("ERROR trying to apply the patch"). Once the outermost handler has ended, the first
  // one that waited runs.
  void Run(const std::string& failed, const std::function<void()>& handler);
  // Runs `handler` as Run does, at once when none runs, else once the running one has ended.
  void RunWhenFree(const std::string& failed, std::function<void()> handler);
  // The window is gone: a handler that waits no longer runs.
  void Stop() { stopped_ = true; }

 private:
  UserInterface& ui_;
  int running_ = 0;
  std::deque<std::pair<std::string, std::function<void()>>> waiting_;
  bool stopped_ = false;
};

}  // namespace varnock
