#include "cli/console_ui.h"

#include <cstdint>
#include <ostream>

#include "support/utf8.h"

namespace varnock::cli {

namespace {

void AppendEscape(std::string& text, unsigned code, const char* prefix) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  text += prefix;
  text += kDigits[code >> 4];
  text += kDigits[code & 0x0F];
}

// Every control character escaped: C0 (but newline and tab where `keepLayout`), DEL, and C1,
// both as UTF-8 and as a raw byte that belongs to no UTF-8 character (an 8-bit terminal takes
// 0x9B for the start of a command).
std::string Escaped(std::string_view text, bool keepLayout) {
  std::string shown;
  shown.reserve(text.size());
  while (!text.empty()) {
    std::uint32_t code = 0;
    std::size_t length = DecodeUtf8(text, code);
    const bool raw = length == 0;
    if (raw) {
      code = static_cast<unsigned char>(text[0]);
      length = 1;
    }
    const bool layout = keepLayout && (code == '\n' || code == '\t');
    if ((code < 0x20 && !layout) || code == 0x7F || (code >= 0x80 && code < 0xA0)) {
      AppendEscape(shown, code, raw || code < 0x80 ? "\\x" : "\\u00");
    } else {
      shown.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return shown;
}

}  // namespace

std::string Printable(std::string_view text) {
  return Escaped(text, false);
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
  return Escaped(lines, true);
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
