#include "support/code_page.h"

#include <gtest/gtest.h>

namespace varnock {
namespace {

using namespace std::string_literals;

// The system code page of the machines the tests run on (and Wine's) is Windows-1252.

TEST(CodePage, AnsiBytesToUtf8) {
  EXPECT_EQ(AnsiByteToUtf8('A'), "A");
  EXPECT_EQ(AnsiByteToUtf8(0), "\0"s);
  EXPECT_EQ(AnsiByteToUtf8(0x80), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(AnsiByteToUtf8(0x9F), "\xC5\xB8");      // Y with diaeresis
  EXPECT_EQ(AnsiByteToUtf8(0xE9), "\xC3\xA9");      // e acute
  EXPECT_EQ(AnsiByteToUtf8(0xFF), "\xC3\xBF");
  // The bytes the code page leaves undefined stand for the control characters of that value.
  EXPECT_EQ(AnsiByteToUtf8(0x81), "\xC2\x81");
  EXPECT_EQ(AnsiByteToUtf8(0x8D), "\xC2\x8D");
  EXPECT_EQ(AnsiByteToUtf8(0x8F), "\xC2\x8F");
  EXPECT_EQ(AnsiByteToUtf8(0x90), "\xC2\x90");
  EXPECT_EQ(AnsiByteToUtf8(0x9D), "\xC2\x9D");
}

TEST(CodePage, EveryByteGoesThereAndBack) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string ansi(1, static_cast<char>(byte));
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(ansi)), ansi) << "byte " << byte;
  }
}

TEST(CodePage, Utf8ToAnsiOneBytePerCharacter) {
  EXPECT_EQ(Utf8ToAnsi(""), "");
  EXPECT_EQ(Utf8ToAnsi("tomb4"), "tomb4");
  EXPECT_EQ(Utf8ToAnsi("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"), "\xE9t\xE9 \x80");
  // Characters the code page cannot hold.
  EXPECT_EQ(Utf8ToAnsi("a\xE4\xB8\xAD"
                       "b"),
            "a?b");                                // CJK ideograph
  EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80"), "?");  // beyond the basic plane
  EXPECT_EQ(Utf8ToAnsi("\xC4\x80"), "?");          // A with macron
}

TEST(CodePage, InvalidUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToAnsi("a\xFF"
                       "b"),
            "a?b");
  EXPECT_EQ(Utf8ToAnsi("\xC3"), "?");  // cut short at the end
  EXPECT_EQ(Utf8ToAnsi("\xC3"
                       "A"),
            "?A");                               // cut short by a plain character
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??");       // overlong form of "/"
  EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "???");  // a surrogate
  EXPECT_EQ(Utf8ToAnsi("\x80\x80"), "??");       // continuation bytes alone
}

TEST(CodePage, AnsiTextToUtf8) {
  EXPECT_EQ(AnsiToUtf8("\xE9t\xE9 \x80"), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(AnsiToUtf8("a\0b"s), "a\0b"s);
}

}  // namespace
}  // namespace varnock
