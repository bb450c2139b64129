#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <tuple>
#include <vector>

#include "app/access_keys.h"
#include "app/history_window_design.h"
#include "app/main_window_design.h"
#include "app/patches_window_design.h"
#include "picker/picker_design.h"
#include "ui/window_design.h"

namespace varnock::testing {
namespace {

bool Overlap(const TwipsBox& a, const TwipsBox& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

// Rules every window design keeps: each shown control inside the client area and clear of the
// others, each name once, the tab indexes a sequence from 0, and every button a letter of its
// own to answer to (a check box too), its caption reading the same once the mark is taken out.
TEST(WindowDesign, ControlsFitTheWindowWithoutOverlapAndTabInOneSequence) {
  const std::tuple<const char*, WindowDesign, bool> cases[] = {
      {"main window", kMainWindowDesign, false},
      {"Patches window", kPatchesWindowDesign, false},
      {"History window", kHistoryWindowDesign, false},
      {"picker", kPickerDesign, false},
      {"picker in folder mode",
       {kPickerDesign.width, kPickerFolderModeHeight, kPickerControls},
       true}};
  for (const auto& [window, design, folderMode] : cases) {
    SCOPED_TRACE(window);
    std::vector<int> tabIndexes;
    std::set<char> accessKeys;
    const auto& controls = design.controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const ControlDesign& control = controls[i];
      tabIndexes.push_back(control.tabIndex);
      EXPECT_EQ(IndexOf(controls, control.name), static_cast<int>(i)) << control.name;
      std::string caption = WithAccessKey(control.caption);
      if (control.kind == ControlKind::Button || control.kind == ControlKind::CheckBox) {
        const std::size_t mark = caption.find('&');
        ASSERT_TRUE(mark != std::string::npos && mark + 1 < caption.size()) << control.name;
        EXPECT_TRUE(accessKeys.insert(static_cast<char>(std::tolower(caption[mark + 1]))).second)
            << control.name;
        caption.erase(mark, 1);
      }
      EXPECT_EQ(caption, control.caption);
      if (!ShownInMode(control, folderMode)) {
        continue;
      }
      const TwipsBox box = BoxInMode(control, folderMode);
      EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.Right() <= design.width &&
                  box.Bottom() <= design.height)
          << control.name << " leaves the window";
      for (std::size_t j = 0; j < i; ++j) {
        EXPECT_FALSE(ShownInMode(controls[j], folderMode) &&
                     Overlap(box, BoxInMode(controls[j], folderMode)))
            << control.name << " covers " << controls[j].name;
      }
    }
    std::sort(tabIndexes.begin(), tabIndexes.end());
    for (std::size_t i = 0; i < tabIndexes.size(); ++i) {
      EXPECT_EQ(tabIndexes[i], static_cast<int>(i));
    }
  }
}

}  // namespace
}  // namespace varnock::testing
