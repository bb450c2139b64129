#include "cli/console_ui.h"

#include <ostream>

namespace varnock::cli {

namespace {

void AppendEscape(std::string& text, unsigned code, const char* prefix) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  text += prefix;
  text += kDigits[code >> 4];
  text += kDigits[code & 0x0F];
}

}  // namespace

std::string Printable(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0U;
    if ((byte < 0x20 && byte != '\n' && byte != '\t') || byte == 0x7F) {
      AppendEscape(shown, byte, "\\x");
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      AppendEscape(shown, next, "\\u00");  // a C1 control in UTF-8
      ++i;
    } else {
      shown += text[i];
    }
  }
  return shown;
}

std::string ToConsoleLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      continue;
    }
    lines += text[i];
  }
  return Printable(lines);
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
