#pragma once

#include <optional>
#include <string>

namespace varnock {

enum class MessageIcon { None, Critical };

// Everything the core tells the user, or asks of the user, goes through here: the window shows
// modal boxes, the command line prints, the tests record.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A modal message with an OK button. Lines in `text` are separated by CR LF.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;

  // A modal input box. An empty answer and a cancelled box both give std::nullopt or "";
  // callers treat both as "no answer".
  virtual std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                             const std::string& proposed) = 0;
};

}  // namespace varnock
