// Another writer meets the operation: another run of the program, or another program that
// appends to the executable or puts a new file in its place. No change is ever lost: each run
// either ends with its zones in the file and "Ok", or with a clear message and none of them.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/perform_patch.h"
#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;

using TwoWriters = FaultTest;

TEST_F(TwoWriters, AFileChangedByAnotherProgramAfterTheReadIsNotReplaced) {
  struct Case {
    const char* name;
    std::function<void(const std::string& exe)> change;
    Bytes expected;
  };
  Bytes grown = image;
  grown.insert(grown.end(), {1, 2, 3});
  Bytes other = RandomImage(image.size(), 5);
  const std::vector<Case> cases = {
      {"appended to",
       [](const std::string& path) {
         std::ofstream(path, std::ios::app | std::ios::binary) << "\x01\x02\x03";
       },
       grown},
      {"replaced by a new file",
       [&other](const std::string& path) {
         const std::string next = path + ".new";
         std::ofstream(next, std::ios::binary)
             .write(reinterpret_cast<const char*>(other.data()), static_cast<long>(other.size()));
         fs::rename(next, path);
       },
       other},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write(JoinPath("game", "tomb4.exe"), image);
    ui.Clear();
    RewriteHooks hooks;
    hooks.before_replace = [&](const std::string&) { c.change(exe); };
    std::string version;
    EXPECT_EQ(PerformPatch(patch, exe, false, version, loaded, ui, &hooks), ResultFailed);
    EXPECT_TRUE(OnlyGeneralFailure(ui)) << ::testing::PrintToString(ui.Texts());
    EXPECT_EQ(ReadBytes(exe), c.expected);
    EXPECT_TRUE(LeftBehind().empty()) << ::testing::PrintToString(LeftBehind());
  }
}

// Eight runs with eight different patches start together on one executable, fifty times.
TEST_F(TwoWriters, ConcurrentAppliesNeverLoseAChange) {
  constexpr int kWriters = 8;
  constexpr int kRounds = 50;
  std::vector<std::string> patches;
  std::vector<PatchZone> zones;
  for (int k = 0; k < kWriters; ++k) {
    const std::size_t at = 200 + 300 * static_cast<std::size_t>(k);
    zones.push_back(Zone(static_cast<std::int32_t>(at), Slice(at, 4),
                         {static_cast<std::uint8_t>(k), 0xAA, 0xBB, 0xCC}));
    patches.push_back(WritePatchNamed("P" + std::to_string(k) + ".ptc", Patch(0, {zones.back()})));
  }
  int done = 0;
  for (int round = 0; round < kRounds; ++round) {
    dir.Write(JoinPath("game", "tomb4.exe"), image);
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (int k = 0; k < kWriters; ++k) {
      children.push_back(std::make_unique<ChildProcess>([&, k] {
        ::close(go[1]);
        char byte = 0;
        [[maybe_unused]] const ssize_t ignored = ::read(go[0], &byte, 1);
        const ResultCode result = Apply(patches[static_cast<std::size_t>(k)]);
        return std::to_string(result) + (ui.messages.size() == 2 ? ui.messages[0].text : "");
      }));
    }
    ::close(go[0]);
    ::close(go[1]);
    std::vector<std::string> reports;
    for (auto& child : children) {
      reports.push_back(child->Report());
    }
    const Bytes after = ReadBytes(exe);
    ASSERT_EQ(after.size(), image.size());
    for (int k = 0; k < kWriters; ++k) {
      SCOPED_TRACE("round " + std::to_string(round) + ", writer " + std::to_string(k));
      const std::string& report = reports[static_cast<std::size_t>(k)];
      const PatchZone& zone = zones[static_cast<std::size_t>(k)];
      const Bytes inFile(after.begin() + zone.Offset, after.begin() + zone.Offset + zone.Length);
      if (report == std::to_string(ResultDone)) {
        EXPECT_EQ(inFile, zone.PatchBytes) << "an \"Ok\" whose change is lost";
        ++done;
      } else {
        EXPECT_EQ(report.rfind(std::to_string(ResultFailed) + kGeneralFailure, 0), 0U) << report;
        EXPECT_EQ(inFile, zone.OriginalBytes);
      }
    }
    if (HasFailure()) {
      break;
    }
  }
  RecordProperty("runs_applied", done);
  std::vector<std::string> made = {"tomb4.exe", "Patch.ptc"};
  for (const std::string& path : patches) {
    made.push_back(GetFileName(path));
  }
  EXPECT_TRUE(LeftBehind(made).empty()) << ::testing::PrintToString(LeftBehind(made));
}

}  // namespace
}  // namespace varnock::testing
