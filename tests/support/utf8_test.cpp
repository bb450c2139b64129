#include "support/utf8.h"

#include <gtest/gtest.h>

namespace varnock {
namespace {

TEST(Utf8, WellFormedTextKeepsEveryCharacterThereAndBack) {
  const std::string text =
      "tomb4 \xC3\x89"
      "diteur \xCE\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";
  const std::u16string units = Utf8ToUtf16(text);
  EXPECT_EQ(units, u"tomb4 \u00C9diteur \u03A9 \u20AC \U0001F600");
  EXPECT_EQ(Utf16ToUtf8(units), text);
}

TEST(Utf8, EveryMalformedByteBecomesOneReplacementCharacter) {
  EXPECT_EQ(Utf8ToUtf16("\xC9"
                        "diteur"),
            u"\uFFFDditeur");                                                // an ANSI byte
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");                               // cut short
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");                       // overlong "/"
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");             // a surrogate
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), std::u16string(4, u'\uFFFD'));  // past U+10FFFF
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");                       // a lone surrogate
}

}  // namespace
}  // namespace varnock
