#include "win32/text.h"

#include "support/utf8.h"

namespace varnock::win32 {

std::wstring Wide(const std::string& text) {
  const std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string Narrow(const std::wstring& text) {
  return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

std::string WithCrLf(const std::string& text) {
  std::string shown;
  shown.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      shown += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
    } else if (c == '\n') {
      shown += "\r\n";
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace varnock::win32
