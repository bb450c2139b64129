// A program killed (SIGKILL: no handler, no clean-up) at a random moment while it writes an
// executable with a second name in place (from its plan to the removal of its journal): the next
// look at the file puts back its old bytes from the journal, so that after every kill the file is
// wholly old or wholly new and no journal is left.
#include <unistd.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <random>
#include <thread>

#include "engine/zone_pipeline.h"
#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

constexpr int kKills = 100;
constexpr std::size_t kSize = std::size_t{16} << 20;

class KilledWrite : public FaultTest {
 protected:
  KilledWrite() : FaultTest(kSize) {}
};

// A patch of 32 zones of 32 KB, one every 512 KB, so that the write in place takes a while.
TEST_F(KilledWrite, EveryKillLeavesTheFileWhollyOldOrWhollyNewAndNoJournal) {
  std::vector<PatchZone> zones;
  Bytes applied = image;
  for (std::size_t at = 4096; at + 32768 < kSize; at += std::size_t{512} << 10) {
    zones.push_back(Zone(static_cast<std::int32_t>(at), Slice(at, 32768), Bytes(32768, 0x5A)));
    Put(applied, at, zones.back().PatchBytes);
  }
  const std::string big = WritePatchNamed("Big.ptc", Patch(0, zones));
  ASSERT_EQ(::link(exe.c_str(), dir.File(JoinPath("game", "other.exe")).c_str()), 0);
  // Each write in place calls `writing` as it begins.
  const auto operate = [&](bool removing, const std::function<void()>& writing) {
    WriteFaults hooks;
    hooks.before_replace = [&writing](const std::string&) { writing(); };
    std::string version;
    return PerformPatch(big, exe, removing, version, loaded, {.ui = ui, .faults = hooks});
  };
  // Two uninterrupted writes measure how long one takes.
  std::chrono::steady_clock::duration span{};
  for (const bool removing : {false, true}) {
    std::chrono::steady_clock::time_point began;
    ASSERT_EQ(operate(removing, [&] { began = std::chrono::steady_clock::now(); }), ResultDone);
    span += (std::chrono::steady_clock::now() - began) / 2;
  }
  const std::string restored = exe + " was restored to its state before an interrupted write";
  std::mt19937 random(24);
  bool isNew = false;
  int rolledBack = 0;
  int discarded = 0;
  for (int kill = 0; kill < kKills && !HasFailure(); ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    {
      int writing[2];
      ASSERT_EQ(::pipe(writing), 0);
      const ChildProcess child([&] {
        return std::to_string(operate(
            isNew, [&] { [[maybe_unused]] const ssize_t told = ::write(writing[1], "!", 1); }));
      });
      ::close(writing[1]);
      char byte = 0;
      [[maybe_unused]] const ssize_t heard = ::read(writing[0], &byte, 1);
      ::close(writing[0]);
      std::this_thread::sleep_for(span * static_cast<int>(random() % 1000) / 1000);
    }
    ui.Clear();
    Bytes now;
    ASSERT_TRUE(ReadExecutableImage(exe, now, ui)) << Told();
    isNew = now == applied;
    ASSERT_TRUE(isNew || now == image);
    // Killed while the journal was written: the file was not touched yet, and the journal
    // cut short is discarded.
    const bool cutShort = ui.messages.size() == 1 && ui.messages[0].icon == MessageIcon::Critical &&
                          ui.messages[0].text.find(
                              "is incomplete or damaged: it was not used and "
                              "was removed") != std::string::npos;
    rolledBack += ui.messages == std::vector<RecordedMessage>{{restored, MessageIcon::None}};
    discarded += cutShort;
    EXPECT_TRUE(ui.messages.empty() || cutShort || ui.messages[0].text == restored) << Told();
    EXPECT_EQ(LeftBehind({"tomb4.exe", "other.exe", "Patch.ptc", "Patch#1#.ptc", "Big.ptc"}),
              Names{});
  }
  std::cout << "one write " << std::chrono::duration<double>(span).count() << " s; " << rolledBack
            << " of " << kKills << " kills rolled back, " << discarded
            << " journals cut short discarded\n";
  EXPECT_GT(rolledBack + discarded, 0) << "no kill came during a write";
}

}  // namespace
}  // namespace varnock::testing
