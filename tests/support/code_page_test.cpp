#include "support/code_page.h"

#include <gtest/gtest.h>

namespace varnock {
namespace {

using namespace std::string_literals;

// The system code page of the machines the tests run on (and Wine's) is Windows-1252; the
// bytes it leaves undefined stand for the control characters of that value. Characters the
// code page cannot hold, and every invalid byte, become question marks.
TEST(CodePage, EveryByteGoesThereAndBackAndOtherCharactersBecomeQuestionMarks) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string ansi(1, static_cast<char>(byte));
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(ansi)), ansi) << "byte " << byte;
  }
  EXPECT_EQ(AnsiByteToUtf8(0x9F), "\xC5\xB8");
  EXPECT_EQ(AnsiByteToUtf8(0x81), "\xC2\x81");
  EXPECT_EQ(AnsiToUtf8("\xE9t\xE9 \x80\0"s), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\0"s);
  const std::pair<const char*, const char*> cases[] = {
      {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", "\xE9t\xE9 \x80"},
      {"a\xE4\xB8\xAD!", "a?!"},
      {"\xF0\x9F\x98\x80", "?"},
      {"\xC3", "?"},
      {"\xC3!", "?!"},
      {"\xC0\xAF", "??"},
      {"\xED\xA0\x80", "???"},
      {"\xF4\x90\x80\x80", "????"},
      {"\x80\x80", "??"},
  };
  for (const auto& [utf8, ansi] : cases) {
    EXPECT_EQ(Utf8ToAnsi(utf8), ansi) << utf8;
  }
}

}  // namespace
}  // namespace varnock
