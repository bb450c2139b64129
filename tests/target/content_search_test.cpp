#include "target/content_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace varnock {
namespace {

// The plain definition: the first place at or after `from` where the pattern's bytes follow.
std::int64_t NaiveFind(std::string_view content, std::string_view pattern, std::int64_t from) {
  const std::size_t at = content.find(pattern, static_cast<std::size_t>(from));
  return at == std::string_view::npos ? kNotFound : static_cast<std::int64_t>(at);
}

// Few letters make many near misses; the content is long enough for several sweep blocks, and
// a pattern of other letters lies across each block edge and at the very end.
TEST(ContentSearchTest, MatchesThePlainDefinitionOnAFewLetters) {
  std::mt19937 random(7);
  std::string content(100000, 'a');
  for (char& c : content) {
    c = "ab\0c"[random() % 4];
  }
  for (const std::size_t at : {16383, 32766, 65535, 99996}) {
    content.replace(at, 4, "XYZW");
  }
  const std::vector<std::string_view> patterns = {
      "abca", std::string_view("a\0b", 3), "cc", "bbbbbbbbbbbbbbbb", "c", "XYZW", "XYZW!"};
  const ContentSearch search(content);
  std::vector<std::vector<std::int64_t>> swept(patterns.size());  // every occurrence of each
  search.Sweep(patterns, [&](std::size_t i, std::int64_t at) {
    swept[i].push_back(at);
    return true;
  });
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    SCOPED_TRACE(i);
    std::vector<std::int64_t> expected;
    for (std::int64_t at = NaiveFind(content, patterns[i], 0); at != kNotFound;
         at = NaiveFind(content, patterns[i], at + 1)) {
      expected.push_back(at);
    }
    EXPECT_EQ(swept[i], expected);
    EXPECT_EQ(search.Find(patterns[i]), expected.empty() ? kNotFound : expected[0]);
    EXPECT_EQ(search.Find(patterns[i], 5000), NaiveFind(content, patterns[i], 5000));
    EXPECT_EQ(search.Find(patterns[i], 99996), NaiveFind(content, patterns[i], 99996));
  }
  // A pattern with one place left to start in its block: the whole content, searched alone.
  std::vector<std::int64_t> whole;
  search.Sweep(std::vector<std::string_view>{content}, [&](std::size_t, std::int64_t at) {
    whole.push_back(at);
    return true;
  });
  EXPECT_EQ(whole, std::vector<std::int64_t>{0});
}

}  // namespace
}  // namespace varnock
