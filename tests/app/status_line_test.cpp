#include "app/status_line.h"

#include <gtest/gtest.h>

namespace varnock::testing {
namespace {

// The line under the list: the status word, the argument read back, the conflicts.
TEST(StatusLineTest, TellsTheStatusTheArgumentAndTheConflicts) {
  for (const std::size_t count : {1u, 2u}) {
    FolderStatus folder;
    for (const char* name : {"A#7#.ptc", "B.ptc"}) {
      if (folder.entries.size() < count) {
        folder.entries.emplace_back().fileName = name;
        folder.conflicts.Add({{100, 4, 0}});
      }
    }
    folder.conflicts.Find();
    folder.entries[0].status.state = PatchState::Applied;
    folder.entries[0].status.argument = "7";
    EXPECT_EQ(StatusLineText(folder, 0), std::string("Status: applied with argument 7") +
                                             (count == 1 ? "" : " \u2014 conflicts with B.ptc"));
    if (count == 2) {
      EXPECT_EQ(StatusLineText(folder, 1), "Status: broken \u2014 conflicts with A#7#.ptc");
    }
  }
}

}  // namespace
}  // namespace varnock::testing
