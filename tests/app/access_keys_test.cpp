#include "app/access_keys.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

namespace varnock::testing {
namespace {

// Every button of a window answers to a letter of its own, and its caption still reads the
// same once the mark is taken out.
TEST(AccessKeys, EachButtonHasALetterOfItsOwnAndKeepsItsText) {
  const std::vector<std::vector<std::string>> windows = {
      {"Patch Folder :", "Print description", "Change", "APPLY PATCH", "REMOVE PATCH", "Close"},
      {"OK", "Cancel", "New Folder ->"}};
  for (const std::vector<std::string>& buttons : windows) {
    std::set<char> letters;
    for (const std::string& caption : buttons) {
      std::string marked = WithAccessKey(caption);
      const std::size_t mark = marked.find('&');
      ASSERT_NE(mark, std::string::npos) << caption;
      ASSERT_LT(mark + 1, marked.size()) << caption;
      EXPECT_TRUE(letters.insert(static_cast<char>(std::tolower(marked[mark + 1]))).second)
          << caption;
      marked.erase(mark, 1);
      EXPECT_EQ(marked, caption);
    }
  }
  EXPECT_EQ(WithAccessKey("Choose patch:"), "Choose patch:");
}

}  // namespace
}  // namespace varnock::testing
