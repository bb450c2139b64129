#include "app/status_line.h"

#include <gtest/gtest.h>

namespace varnock::testing {
namespace {

// The patches a line names before it counts the rest, with copies of one patch in a folder;
// the Patches window's column, which a narrow window cuts short, says how many first.
TEST(StatusLineTest, NamesTheFirstConflictsAndCountsTheRest) {
  const struct {
    std::size_t copies;
    std::string text;
    std::string column;
  } cases[] = {
      {1, "", ""},
      {2, "conflicts with P1.ptc", "P1.ptc"},
      {4, "conflicts with P1.ptc, P2.ptc, P3.ptc", "3 patches: P1.ptc, P2.ptc, P3.ptc"},
      {5, "conflicts with P1.ptc, P2.ptc and 2 others", "4 patches: P1.ptc, P2.ptc, \u2026"},
      {20'000, "conflicts with P1.ptc, P2.ptc and 19,997 others",
       "19,999 patches: P1.ptc, P2.ptc, \u2026"}};
  for (const auto& c : cases) {
    FolderStatus folder;
    for (std::size_t i = 0; i < c.copies; ++i) {
      folder.entries.emplace_back().fileName = "P" + std::to_string(i) + ".ptc";
      folder.conflicts.Add({{100, 4, 0}});
    }
    folder.conflicts.Find();
    EXPECT_EQ(ConflictsText(folder, 0), c.text);
    EXPECT_EQ(ConflictColumnText(folder, 0), c.column);
    EXPECT_EQ(StatusLineText(folder, 0),
              "Status: broken" + (c.text.empty() ? "" : " \u2014 " + c.text));
  }
}

}  // namespace
}  // namespace varnock::testing
