#include "support/translation.h"

#include <cstddef>

#include "support/message_catalogue.h"

namespace varnock {

const char* Tr(const char* text) {
  return ActiveCatalogue().Find(text);
}

std::string TrFormat(const char* text, std::initializer_list<std::string_view> arguments) {
  return FillPlaceholders(Tr(text), arguments);
}

std::string TrCrLf(const char* text) {
  std::string lines;
  for (const char* c = Tr(text); *c != '\0'; ++c) {
    lines += *c == '\n' ? "\r\n" : std::string(1, *c);
  }
  return lines;
}

std::string TrFormatCrLf(const char* text, std::initializer_list<std::string_view> arguments) {
  return FillPlaceholders(TrCrLf(text), arguments);
}

std::string FillPlaceholders(std::string_view text,
                             std::initializer_list<std::string_view> arguments) {
  std::string filled;
  filled.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const std::size_t number =
        next >= '1' && next <= '9' ? static_cast<std::size_t>(next - '0') : 0;
    if (text[i] == '%' && number != 0 && number <= arguments.size()) {
      filled += *(arguments.begin() + (number - 1));
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}

}  // namespace varnock
