#include "support/translation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace varnock {
namespace {

TEST(TranslationTest, PlaceholdersAreFilledByNumber) {
  const struct {
    const char* text;
    const char* filled;
  } cases[] = {
      {"%1 of %2", "a of b"},
      {"%2, then %1", "b, then a"},
      {"%1%1", "aa"},
      {"100% sure", "100% sure"},
      {"%3 and %0", "%3 and %0"},
      {"ends with %", "ends with %"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FillPlaceholders(c.text, {"a", "b"}), c.filled) << c.text;
  }
}

// A message shown with Windows' line ends is marked with "\n"; an argument's own line ends stay.
TEST(TranslationTest, LinesEndAsWindowsEndsThem) {
  EXPECT_EQ(TrCrLf("a\n\nb\n"), "a\r\n\r\nb\r\n");
  EXPECT_EQ(TrFormatCrLf("%1:\nError %2", {"x\ny", "z"}), "x\ny:\r\nError z");
}

// An argument is put in as it is, even when it holds placeholders or percent signs itself.
TEST(TranslationTest, ArgumentsAreNeverSearched) {
  std::mt19937 random(11);
  const std::string alphabet = "%12a9 ";
  for (int round = 0; round < 2000; ++round) {
    std::string first;
    std::string second;
    for (std::string* s : {&first, &second}) {
      for (auto n = random() % 8; n > 0; --n) {
        *s += alphabet[random() % alphabet.size()];
      }
    }
    EXPECT_EQ(FillPlaceholders("%2<%1>", {first, second}), second + "<" + first + ">");
  }
}

}  // namespace
}  // namespace varnock
