#pragma once

#include <optional>
#include <string>

#include "ui/user_interface.h"

namespace varnock {

// For computations that only look (a status, a dry run): what the engine would have told the
// user is kept, not shown, and no question is answered.
class SilentUi : public UserInterface {
 public:
  void ShowMessage(const std::string& text, MessageIcon /*icon*/) override {
    if (first_.empty()) {
      first_ = text;
    }
  }
  std::optional<std::string> AskText(const std::string& /*prompt*/, const std::string& /*title*/,
                                     const std::string& /*proposed*/) override {
    return std::nullopt;
  }
  // The first message the engine would have shown; empty when there was none.
  const std::string& FirstMessage() const { return first_; }

 private:
  std::string first_;
};

}  // namespace varnock
