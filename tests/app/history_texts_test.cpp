#include "app/history_texts.h"

#include <gtest/gtest.h>

namespace varnock::testing {
namespace {

// The history's questions and rows name arguments in words: no option, no NAME=VALUE, and a
// value that holds '=' or "--arg" keeps it.
TEST(HistoryTexts, ArgumentsAreNamedInWords) {
  const struct {
    std::string question;
    std::string shown;
  } cases[] = {
      {"the apply of T (a.ptc, --arg 7) is taken back",
       "the apply of T (a.ptc, argument 7) is taken back"},
      {"(A.PTC, b.ptc, --arg A.PTC=7, b.ptc=x=1)", "(A.PTC, b.ptc, argument A.PTC: 7, b.ptc: x=1)"},
      {"- the batch of T (a.ptc, --arg --arg)\n- the apply of U (b.ptc, --arg 2)",
       "- the batch of T (a.ptc, argument --arg)\n- the apply of U (b.ptc, argument 2)"},
      {"no argument at all: a=b", "no argument at all: a=b"},
  };
  for (const auto& [question, shown] : cases) {
    EXPECT_EQ(InWindowWords(question), shown);
  }
  HistorySummary summary;
  summary.kept = true;
  summary.matchesLast = true;
  summary.rows = {{"T", "batch", "a.ptc, b.ptc", "a.ptc=1, b.ptc=2", ""},
                  {"U", "apply", "c.ptc", "3", "changed by another program since"}};
  EXPECT_EQ(ListHistory("x.exe", summary).rows,
            (std::vector<std::string>{
                "T  batch  a.ptc, b.ptc  arguments a.ptc: 1, b.ptc: 2",
                "U  apply  c.ptc  argument 3  (changed by another program since)"}));
}

}  // namespace
}  // namespace varnock::testing
