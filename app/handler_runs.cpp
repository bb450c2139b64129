#include "app/handler_runs.h"

#include <exception>

#include "app/window_texts.h"

namespace varnock {

void HandlerRuns::Run(const std::string& failed, const std::function<void()>& handler) {
  ++running_;
  try {
    handler();
  } catch (const std::exception& failure) {
    ui_.ShowMessage(texts::UnexpectedFailure(failed, failure.what()), MessageIcon::None);
  }
  --running_;
  if (running_ == 0 && !waiting_.empty() && !stopped_) {
    const auto next = std::move(waiting_.front());
    waiting_.pop_front();
    Run(next.first, next.second);
  }
}

void HandlerRuns::RunWhenFree(const std::string& failed, std::function<void()> handler) {
  if (Running()) {
    waiting_.emplace_back(failed, std::move(handler));
    return;
  }
  Run(failed, handler);
}

}  // namespace varnock
