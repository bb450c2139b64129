// Another writer meets the operation: another run of the program, or another program that
// appends to the executable or puts a new file in its place. No change is ever lost: each run
// either ends with its zones in the file and "Ok", or with a clear message and none of them.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;
using TwoWriters = FaultTest;

TEST_F(TwoWriters, AFileChangedByAnotherProgramAfterTheReadIsNotReplaced) {
  Bytes grown = image;
  grown.insert(grown.end(), {1, 2, 3});
  const Bytes other = RandomImage(image.size(), 5);
  const std::pair<std::function<void()>, Bytes> cases[] = {
      {[this] { std::ofstream(exe, std::ios::app | std::ios::binary) << "\x01\x02\x03"; }, grown},
      {[&] { fs::rename(dir.Write(JoinPath("game", "new.exe"), other), exe); }, other},
  };
  for (const auto& [change, expected] : cases) {
    dir.Write(JoinPath("game", "tomb4.exe"), image);
    ui.Clear();
    RewriteHooks hooks;
    hooks.before_replace = [&change = change](const std::string&) { change(); };
    EXPECT_EQ(Perform(hooks), ResultFailed);
    EXPECT_TRUE(OnlyGeneralFailure(ui)) << Told();
    EXPECT_EQ(ReadBytes(exe), expected);
    EXPECT_EQ(LeftBehind(), Names{});
  }
}

// Eight runs with eight different patches start together on one executable, fifty times.
TEST_F(TwoWriters, ConcurrentAppliesNeverLoseAChange) {
  constexpr int kWriters = 8;
  std::vector<std::string> patches;
  std::vector<PatchZone> zones;
  Names made = {"tomb4.exe", "Patch.ptc", "Patch#1#.ptc"};
  for (int k = 0; k < kWriters; ++k) {
    const auto at = static_cast<std::int32_t>(200 + 300 * k);
    zones.push_back(Zone(at, Slice(at, 4), {static_cast<std::uint8_t>(k), 0xAA, 0xBB, 0xCC}));
    patches.push_back(WritePatchNamed("P" + std::to_string(k) + ".ptc", Patch(0, {zones.back()})));
    made.push_back(GetFileName(patches.back()));
  }
  int done = 0;
  for (int round = 0; round < 50 && !HasFailure(); ++round) {
    dir.Write(JoinPath("game", "tomb4.exe"), image);
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (const std::string& path : patches) {
      children.push_back(std::make_unique<ChildProcess>([&] {
        ::close(go[1]);
        char byte = 0;
        [[maybe_unused]] const ssize_t ignored = ::read(go[0], &byte, 1);
        const ResultCode result = Apply(path);
        return std::to_string(result) + (ui.messages.size() == 2 ? ui.messages[0].text : "");
      }));
    }
    ::close(go[0]);
    ::close(go[1]);
    Names reports;
    for (const auto& child : children) {
      reports.push_back(child->Report());
    }
    const Bytes after = ReadBytes(exe);
    ASSERT_EQ(after.size(), image.size());
    for (std::size_t k = 0; k < patches.size(); ++k) {
      SCOPED_TRACE("round " + std::to_string(round) + ", writer " + std::to_string(k));
      const std::string& report = reports[k];
      const PatchZone& zone = zones[k];
      const Bytes inFile(after.begin() + zone.Offset, after.begin() + zone.Offset + zone.Length);
      if (report == std::to_string(ResultDone)) {
        EXPECT_EQ(inFile, zone.PatchBytes) << "an \"Ok\" whose change is lost";
        ++done;
      } else {
        EXPECT_EQ(report.rfind(std::to_string(ResultFailed) + kGeneralFailure, 0), 0U) << report;
        EXPECT_EQ(inFile, zone.OriginalBytes);
      }
    }
  }
  RecordProperty("runs_applied", done);
  EXPECT_EQ(LeftBehind(made), Names{});
}

}  // namespace
}  // namespace varnock::testing
