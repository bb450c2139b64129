#include "app/handler_runs.h"

#include <exception>

#include "app/window_texts.h"

namespace varnock {

void HandlerRuns::Run(const std::string& doing, const std::function<void()>& handler) {
  ++running_;
  try {
    handler();
  } catch (const std::exception& failure) {
    ui_.ShowMessage(texts::UnexpectedFailure(doing, failure.what()), MessageIcon::None);
  }
  --running_;
  if (running_ == 0 && !waiting_.empty() && !stopped_) {
    const auto next = std::move(waiting_.front());
    waiting_.pop_front();
    Run(next.first, next.second);
  }
}

void HandlerRuns::RunWhenFree(const std::string& doing, std::function<void()> handler) {
  if (Running()) {
    waiting_.emplace_back(doing, std::move(handler));
    return;
  }
  Run(doing, handler);
}

}  // namespace varnock
