// A patch folder at the root "/": the temporary folder becomes the root of a child process.

#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/app/app_fixture.h"
#include "tests/fault/child_process.h"

namespace varnock::testing {
namespace {

// Start-up, a new executable and the Patch Folder picker all show the root as "/".
TEST_F(AppFixture, APatchFolderAtTheRootIsShownAsTheRoot) {
  WritePatch(dir.path(), "a.ptc", Patch("tomb4.exe", "LE_A"));
  dir.Write("varnock.exe", ToBytes("MZ not a bundle"));
  dir.Write("tomb4.exe", Bytes(128, 0));
  ChildProcess child([&] {
    if (::chroot(dir.path().c_str()) != 0 || ::chdir("/") != 0) {
      return std::string("unavailable");
    }
    AppEnvironment environment = Environment();
    environment.ownExecutablePath = "/varnock.exe";
    environment.currentFolder = [] { return std::string("/"); };
    MainPresenter presenter(view, view, ui, environment);
    if (!presenter.Load()) {
      return std::string("not loaded");
    }
    const std::string first = view.Caption(MainLabel::DirSrc);
    view.pickerAnswers.push_back("/tomb4.exe");
    presenter.ChangeTargetClicked();
    presenter.ChangePatchFolderClicked();  // cancelled
    return first + "|" + view.Caption(MainLabel::DirSrc) + "|" +
           view.pickerCalls.back().startFolder;
  });
  ASSERT_TRUE(child.Started());
  const std::string report = child.Report();
  if (report == "unavailable") {
    GTEST_SKIP() << "no root of its own can be given to a process here";
  }
  EXPECT_EQ(report, "/|/|/");
}

}  // namespace
}  // namespace varnock::testing
