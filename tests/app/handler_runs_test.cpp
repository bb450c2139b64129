#include "app/handler_runs.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/common/recording_ui.h"

namespace varnock::testing {
namespace {

// Work given while a handler runs waits for the outermost one to end and then runs in the
// order it came, each on its own: a failure is told once and the rest still runs. Once the
// window is gone, nothing that waits runs.
TEST(HandlerRuns, WorkGivenMeanwhileWaitsForTheRunningHandler) {
  RecordingUi ui;
  HandlerRuns runs(ui);
  std::vector<std::string> done;
  runs.Run("outer", [&] {
    runs.Run("nested", [&] { done.push_back("nested"); });
    runs.RunWhenFree("first", [&] {
      done.push_back("first");
      throw std::runtime_error("gone");
    });
    runs.RunWhenFree("second", [&] { done.push_back("second"); });
    done.push_back("outer");
  });
  EXPECT_EQ(done, (std::vector<std::string>{"nested", "outer", "first", "second"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("gone"), std::string::npos);
  EXPECT_FALSE(runs.Running());

  runs.Run("closing", [&] {
    runs.RunWhenFree("late", [&] { done.push_back("late"); });
    runs.Stop();
  });
  EXPECT_EQ(done.size(), 4u);
}

}  // namespace
}  // namespace varnock::testing
