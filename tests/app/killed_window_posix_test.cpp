#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/files.h"
#include "tests/app/app_fixture.h"
#include "tests/fault/child_process.h"

namespace varnock::testing {
namespace {

class KilledWindow : public AppFixture {};

// A window killed with SIGKILL leaves its patches; a window that starts later takes them over
// and deletes them when it closes, as if it had unpacked them itself.
TEST_F(KilledWindow, ItsPatchesGoWithTheNextWindowToClose) {
  programWritable = false;
  userFolder = dir.File("user");
  Bundle({{"Bundled.ptc", varnock::WritePatch(Patch("LE_B"))}});
  ChildProcess killed([this] {
    if (Load()) {
      ::kill(::getpid(), SIGKILL);
    }
    return std::string("not killed");
  });
  EXPECT_EQ(killed.Report(), "");
  ASSERT_TRUE(FileExists(JoinPath(userFolder, "Bundled.ptc")));
  ASSERT_TRUE(Load());
  Presenter().Unload();
  EXPECT_FALSE(FileExists(JoinPath(userFolder, "Bundled.ptc")));
}

}  // namespace
}  // namespace varnock::testing
