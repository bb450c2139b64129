#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "app/main_window_design.h"
#include "picker/picker_design.h"

namespace varnock::testing {
namespace {

struct Case {
  const char* window;
  WindowDesign design;
  bool folderMode;
};

bool Overlap(const TwipsBox& a, const TwipsBox& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

// Rules every window design keeps: each shown control inside the client area and clear of the
// others, each name once, the tab indexes a sequence from 0.
TEST(WindowDesign, ControlsFitTheWindowWithoutOverlapAndTabInOneSequence) {
  const Case cases[] = {{"main window", kMainWindowDesign, false},
                        {"picker", kPickerDesign, false},
                        {"picker in folder mode",
                         {kPickerDesign.width, kPickerFolderModeHeight, kPickerControls},
                         true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    std::vector<int> tabIndexes;
    const auto& controls = c.design.controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const ControlDesign& control = controls[i];
      tabIndexes.push_back(control.tabIndex);
      EXPECT_EQ(IndexOf(controls, control.name), static_cast<int>(i)) << control.name;
      if (c.folderMode && !ShownInMode(control, true)) {
        continue;
      }
      const TwipsBox box = c.folderMode ? BoxInMode(control, true) : control.box;
      EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.Right() <= c.design.width &&
                  box.Bottom() <= c.design.height)
          << control.name << " leaves the window";
      for (std::size_t j = 0; j < i; ++j) {
        const bool shown = !c.folderMode || ShownInMode(controls[j], true);
        const TwipsBox other = c.folderMode ? BoxInMode(controls[j], true) : controls[j].box;
        EXPECT_FALSE(shown && Overlap(box, other))
            << control.name << " covers " << controls[j].name;
      }
    }
    std::sort(tabIndexes.begin(), tabIndexes.end());
    for (std::size_t i = 0; i < tabIndexes.size(); ++i) {
      EXPECT_EQ(tabIndexes[i], static_cast<int>(i));
    }
  }
}

TEST(WindowDesign, EachLabelThePresenterSetsIsALabelOfItsOwn) {
  std::set<std::string_view> names;
  for (const MainLabel label :
       {MainLabel::NomeExe, MainLabel::TombVersionNow, MainLabel::TombVersion, MainLabel::DirSrc,
        MainLabel::ApplyPatchTo, MainLabel::CreatedWithVersion, MainLabel::CurrentTomb}) {
    const ControlKind kind =
        kMainWindowControls[IndexOf(kMainWindowControls, ControlNameOf(label))].kind;
    EXPECT_TRUE(kind == ControlKind::ValueLabel || kind == ControlKind::Label);
    names.insert(ControlNameOf(label));
  }
  EXPECT_EQ(names.size(), 7u);
  EXPECT_THROW(IndexOf(kMainWindowControls, "Text_Nothing"), std::out_of_range);
}

}  // namespace
}  // namespace varnock::testing
