#include <gtest/gtest.h>

#include "support/files.h"
#include "tests/app/app_fixture.h"

namespace varnock::testing {
namespace {

// Windows of a program installed where its user cannot write: they unpack the bundle into the
// per-user folder they share, where Mine.ptc, a patch of the user's own of the same name as a
// bundled one, already lies.
class SharedFolder : public AppFixture {
 protected:
  SharedFolder() {
    programWritable = false;
    userFolder = dir.File("user");
    dir.WriteText(JoinPath("user", "Mine.ptc"), "the user's own");
    Bundle({{"Fresh.ptc", fresh}, {"Mine.ptc", fresh}, {"Old.ptc", fresh}});
  }
  // A window started now; the shared view and messages are the last window's.
  std::unique_ptr<MainPresenter> Start() {
    auto window = std::make_unique<MainPresenter>(view, view, ui, Environment());
    EXPECT_TRUE(window->Load());
    return window;
  }
  bool Has(const std::string& name) const { return FileExists(JoinPath(userFolder, name)); }

  Bytes fresh = varnock::WritePatch(Patch("LE_B", "bundled"));
};

// Start A, start B, close A: B's patches stay until B, the last window, closes. The user's own
// patch gets the bundle's content, as in the program's folder, and is never deleted.
TEST_F(SharedFolder, TheLastWindowToCloseDeletesWhatWasUnpacked) {
  auto a = Start();
  auto b = Start();
  EXPECT_EQ(view.items, (std::vector<std::string>{"Fresh.ptc", "Mine.ptc", "Old.ptc"}));
  a->Unload();
  EXPECT_TRUE(Has("Fresh.ptc") && Has("Old.ptc"));
  b->Unload();
  EXPECT_FALSE(Has("Fresh.ptc") || Has("Old.ptc"));
  EXPECT_EQ(ReadBytes(JoinPath(userFolder, "Mine.ptc")), fresh);
  EXPECT_TRUE(ui.messages.empty());
}

// A window that never closes (killed: its locks go with its process, as here with its
// presenter) leaves its files; the next start takes them over, keeping the ones its bundle
// still carries and deleting the others, but leaves a file the user changed since.
TEST_F(SharedFolder, TheNextStartTakesOverWhatAWindowThatNeverClosedLeft) {
  Start().reset();
  ASSERT_TRUE(Has("Fresh.ptc") && Has("Old.ptc"));
  dir.WriteText(JoinPath("user", "Fresh.ptc"), "changed by the user");
  Bundle({{"Fresh.ptc", fresh}, {"New.ptc", fresh}});
  auto next = Start();
  EXPECT_FALSE(Has("Old.ptc"));
  EXPECT_EQ(view.items, (std::vector<std::string>{"Fresh.ptc", "Mine.ptc", "New.ptc"}));
  next->Unload();
  EXPECT_TRUE(Has("Fresh.ptc") && Has("Mine.ptc"));
  EXPECT_FALSE(Has("New.ptc"));
}

// A record that cannot be written (here a folder holds its name, as a full disk would refuse
// it) leaves no new record beside it, and the files go with the window that unpacked them.
TEST_F(SharedFolder, UnrecordedFilesGoWithTheWindowThatUnpackedThem) {
  dir.WriteText(JoinPath(JoinPath("user", ".varnock-unpacked"), "taken"), "");
  auto window = Start();
  EXPECT_TRUE(Has("Fresh.ptc") && !Has(".varnock-unpacked.new"));
  window->Unload();
  EXPECT_FALSE(Has("Fresh.ptc") || Has("Old.ptc"));
  EXPECT_TRUE(Has("Mine.ptc"));
}

}  // namespace
}  // namespace varnock::testing
