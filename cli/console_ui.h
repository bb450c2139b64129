#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "ui/user_interface.h"

namespace varnock::cli {

// Message boxes become printed lines: a box with the critical icon goes to the error stream,
// a box without an icon to the output stream, CR LF turned into a newline, one newline after
// the text. The input box is answered with a preset answer, or with the proposed one.
class ConsoleUi : public UserInterface {
 public:
  ConsoleUi(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  void ShowMessage(const std::string& text, MessageIcon icon) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposed) override;

  // The answer to every input box from now on; without one the proposed answer is taken.
  void SetAnswer(std::optional<std::string> answer) { answer_ = std::move(answer); }

  std::ostream& Out() { return out_; }
  std::ostream& Err() { return err_; }

 private:
  std::ostream& out_;
  std::ostream& err_;
  std::optional<std::string> answer_;
};

// The text with every CR LF turned into a newline and the other control characters but
// newline and tab escaped as by Printable.
std::string ToConsoleLines(const std::string& text);
// The text on one line, with its control characters (C0, DEL, C1 in UTF-8 or as a raw byte
// outside UTF-8) written as \xHH or \u00HH, so that a text read from a file or a file name
// cannot move the cursor, start a line or rewrite the terminal.
std::string Printable(std::string_view text);

}  // namespace varnock::cli
