#include "engine/conflicts_text.h"

#include <gtest/gtest.h>

namespace varnock::testing {
namespace {

// `copies` copies of one patch in a folder: each conflicts with every other.
FolderStatus Copies(std::size_t copies) {
  FolderStatus folder;
  for (std::size_t i = 0; i < copies; ++i) {
    folder.entries.emplace_back().fileName = "P" + std::to_string(i) + ".ptc";
    folder.conflicts.Add({{100, 4, 0}});
  }
  folder.conflicts.Find();
  return folder;
}

// The patches a line names before it counts the rest; the Patches window's column, which a
// narrow window cuts short, says how many first.
TEST(ConflictsTextTest, NamesTheFirstConflictsAndCountsTheRest) {
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
    const FolderStatus folder = Copies(c.copies);
    EXPECT_EQ(ConflictsText(folder, 0), c.text);
    EXPECT_EQ(ConflictColumnText(folder, 0), c.column);
  }
  EXPECT_EQ(GroupedNumber(1'234'567), "1,234,567");
  EXPECT_EQ(GroupedNumber(999), "999");
}

}  // namespace
}  // namespace varnock::testing
