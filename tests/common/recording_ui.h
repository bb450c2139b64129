#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "support/user_interface.h"

namespace varnock::testing {

struct RecordedMessage {
  std::string text;
  MessageIcon icon = MessageIcon::None;
  bool operator==(const RecordedMessage&) const = default;
};

struct RecordedQuestion {
  std::string prompt;
  std::string title;
  std::string proposed;
};

// Records every message with its icon and every question; answers questions from a queue
// (the proposed answer when the queue is empty, std::nullopt for a cancelled box).
class RecordingUi : public UserInterface {
 public:
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposed) override;

  void QueueAnswer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }

  std::vector<RecordedMessage> messages;
  std::vector<RecordedQuestion> questions;

  // The texts only, for compact assertions.
  std::vector<std::string> Texts() const;
  // One critical message with exactly this text and nothing else.
  bool OnlyCritical(const std::string& text) const;
  // One plain (no icon) message with exactly this text and nothing else.
  bool OnlyPlain(const std::string& text) const;
  void Clear();

 private:
  std::deque<std::optional<std::string>> answers_;
};

}  // namespace varnock::testing
