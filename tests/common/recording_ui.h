#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/user_interface.h"

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
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    messages.push_back({text, icon});
    if (whileShown) {
      whileShown();
    }
  }
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposed) override {
    questions.push_back({prompt, title, proposed});
    if (answers_.empty()) {
      return proposed;
    }
    auto answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
  }

  void QueueAnswer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }

  std::vector<RecordedMessage> messages;
  std::function<void()> whileShown;  // what the window does while a message box is open
  std::vector<RecordedQuestion> questions;

  // The texts only, for compact assertions.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts(messages.size());
    std::ranges::transform(messages, texts.begin(), &RecordedMessage::text);
    return texts;
  }
  // One critical message with exactly this text and nothing else.
  bool OnlyCritical(const std::string& text) const {
    return messages == std::vector<RecordedMessage>{{text, MessageIcon::Critical}};
  }
  // One plain (no icon) message with exactly this text and nothing else.
  bool OnlyPlain(const std::string& text) const {
    return messages == std::vector<RecordedMessage>{{text, MessageIcon::None}};
  }
  void Clear() {
    messages.clear();
    questions.clear();
    answers_.clear();
  }

 private:
  std::deque<std::optional<std::string>> answers_;
};

}  // namespace varnock::testing
