#include <windows.h>

#include "support/code_page_table.h"

namespace varnock {

std::uint32_t AnsiByteToCodePoint(std::uint8_t byte) {
  const char ansi = static_cast<char>(byte);
  wchar_t wide[2] = {};
  // A lead byte of a double-byte code page is no character on its own.
  const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &ansi, 1, wide, 2);
  if (length != 1) {
    return '?';
  }
  return static_cast<std::uint32_t>(wide[0]);
}

std::optional<std::uint8_t> CodePointToAnsiByte(std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    return static_cast<std::uint8_t>(codePoint);
  }
  // Characters beyond the basic plane have no byte in any ANSI code page.
  if (codePoint > 0xFFFF || GetACP() == CP_UTF8) {
    return std::nullopt;
  }
  const wchar_t wide = static_cast<wchar_t>(codePoint);
  char ansi[4] = {};
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, ansi, sizeof(ansi),
                                         nullptr, &usedDefault);
  if (length != 1 || usedDefault) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(ansi[0]);
}

}  // namespace varnock
