#include "support/utf8.h"

#include <gtest/gtest.h>

namespace varnock {
namespace {

TEST(Utf8, WellFormedTextGoesThereAndBackAndEachMalformedByteBecomesOneReplacement) {
  // The last character of one unit and the first of two among them.
  const std::string text =
      "tomb4 \xC3\x89 \xCE\xA9 \xE2\x82\xAC \xEF\xBF\xBF\xF0\x90\x80\x80 \xF0\x9F\x98\x80";
  EXPECT_EQ(Utf8ToUtf16(text), u"tomb4 \u00C9 \u03A9 \u20AC \uFFFF\U00010000 \U0001F600");
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  EXPECT_EQ(Utf8ToUtf16("\xC9-a\xC3"), u"\uFFFD-a\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), std::u16string(4, u'\uFFFD'));
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
}

}  // namespace
}  // namespace varnock
