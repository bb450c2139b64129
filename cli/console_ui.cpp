#include "cli/console_ui.h"

#include <ostream>

namespace varnock::cli {

std::string ToConsoleLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      continue;
    }
    lines += text[i];
  }
  return lines;
}

void ConsoleUi::ShowMessage(const std::string& text, MessageIcon icon) {
  std::ostream& stream = icon == MessageIcon::Critical ? err_ : out_;
  stream << ToConsoleLines(text) << '\n' << std::flush;
}

std::optional<std::string> ConsoleUi::AskText(const std::string& /*prompt*/,
                                              const std::string& /*title*/,
                                              const std::string& proposed) {
  return answer_.has_value() ? answer_ : std::optional<std::string>(proposed);
}

}  // namespace varnock::cli
