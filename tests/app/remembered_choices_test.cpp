#include "app/remembered_choices.h"

#include <gtest/gtest.h>

#include "tests/app/app_fixture.h"

namespace varnock::testing {
namespace {

class RememberedChoices : public AppFixture {
 protected:
  RememberedChoices() { WritePatch(programFolder, "a.ptc", Patch("tomb4.exe", "LE_A")); }

  // The next run of the program, with the settings this one left.
  struct Run {
    explicit Run(AppEnvironment environment) : presenter(view, view, ui, std::move(environment)) {}
    RecordingView view;
    RecordingUi ui;
    MainPresenter presenter;
  };
};

TEST_F(RememberedChoices, TheNextRunStartsWithTheLastPatchFolderAndExecutable) {
  const std::string more = dir.File("more");
  WritePatch(more, "b.ptc", Patch("tomb4.exe", "LE_B", "more b"));
  const std::string engine = dir.Write(JoinPath("games", "tomb4.exe"), Bytes(128, 0));
  ASSERT_TRUE(Presenter().Load());
  EXPECT_TRUE(settings.values.empty()) << "start-up chooses nothing";
  view.pickerAnswers.push_back(more);
  Presenter().ChangePatchFolderClicked();
  view.pickerAnswers.push_back(engine);
  Presenter().ChangeTargetClicked();
  Presenter().CloseClicked();

  Run next(Environment());
  ASSERT_TRUE(next.presenter.Load());
  EXPECT_EQ(next.view.Caption(MainLabel::DirSrc), more);
  EXPECT_EQ(next.view.items, std::vector<std::string>{"b.ptc"});
  EXPECT_EQ(next.view.Caption(MainLabel::NomeExe), engine);
  EXPECT_EQ(next.view.Caption(MainLabel::TombVersionNow), view.Caption(MainLabel::TombVersionNow));
  EXPECT_TRUE(next.ui.messages.empty());
}

TEST_F(RememberedChoices, ChoicesThatAreGoneOrRefusedGiveTheUsualStartUp) {
  const std::string empty = dir.File("empty");
  dir.WriteText(JoinPath("empty", "notes.txt"), "no patch here");
  ASSERT_TRUE(Presenter().Load());
  view.pickerAnswers.push_back(empty);  // refused: it holds no patch
  Presenter().ChangePatchFolderClicked();
  EXPECT_EQ(settings.values.count(kRememberedPatchFolder), 0u);

  for (const std::string& gone : {dir.File("gone"), empty}) {
    settings.values = {{kRememberedPatchFolder, gone},
                       {kRememberedTarget, JoinPath(gone, "x.exe")}};
    Run next(Environment());
    ASSERT_TRUE(next.presenter.Load());
    EXPECT_EQ(next.view.Caption(MainLabel::DirSrc), programFolder) << gone;
    EXPECT_EQ(next.view.Caption(MainLabel::NomeExe), "");
    EXPECT_TRUE(next.ui.messages.empty());
  }
}

}  // namespace
}  // namespace varnock::testing
