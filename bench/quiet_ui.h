#pragma once

#include <optional>
#include <string>

#include "ui/user_interface.h"

namespace varnock::bench {

// Answers nothing and keeps the first message: a job that shows one has not run as measured.
class QuietUi : public UserInterface {
 public:
  void ShowMessage(const std::string& text, MessageIcon) override {
    if (first_.empty()) {
      first_ = text;
    }
  }
  std::optional<std::string> AskText(const std::string&, const std::string&,
                                     const std::string&) override {
    return std::nullopt;
  }
  const std::string& FirstMessage() const { return first_; }

 private:
  std::string first_;
};

}  // namespace varnock::bench
