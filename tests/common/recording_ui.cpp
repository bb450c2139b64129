#include "tests/common/recording_ui.h"

namespace varnock::testing {

void RecordingUi::ShowMessage(const std::string& text, MessageIcon icon) {
  messages.push_back({text, icon});
}

std::optional<std::string> RecordingUi::AskText(const std::string& prompt, const std::string& title,
                                                const std::string& proposed) {
  questions.push_back({prompt, title, proposed});
  if (answers_.empty()) {
    return proposed;
  }
  auto answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

std::vector<std::string> RecordingUi::Texts() const {
  std::vector<std::string> texts;
  for (const auto& message : messages) {
    texts.push_back(message.text);
  }
  return texts;
}

bool RecordingUi::OnlyCritical(const std::string& text) const {
  return messages.size() == 1 && messages[0] == RecordedMessage{text, MessageIcon::Critical};
}

bool RecordingUi::OnlyPlain(const std::string& text) const {
  return messages.size() == 1 && messages[0] == RecordedMessage{text, MessageIcon::None};
}

void RecordingUi::Clear() {
  messages.clear();
  questions.clear();
  answers_.clear();
}

}  // namespace varnock::testing
