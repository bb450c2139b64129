// The executable is not what it was when the operation began, may not be written, the program
// is stopped while it rewrites it or waits for it, or another run writes it at the same time:
// every case ends with a clear message, and the file is left byte-identical, as the other
// writer made it, or rewritten whole. No change is lost.
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <thread>

#include "engine/patch_status.h"
#include "tests/common/immutable_flag.h"
#include "tests/fault/child_process.h"
#include "tests/fault/fault_fixture.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;
using TargetFaults = FaultTest;

// Read-only by its mode, or immutable: write permission bits set, yet nobody may change it.
TEST_F(TargetFaults, AnExecutableThatMayNotBeWrittenIsLeftAsItWas) {
  ASSERT_EQ(::chmod(exe.c_str(), 0444), 0);
  EXPECT_EQ(Apply(patch), ResultFailed);
  ExpectFailure("ermission denied");
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_EQ(fs::status(exe).permissions(), fs::perms(0444)) << "the file's mode is not touched";
  ASSERT_EQ(::chmod(exe.c_str(), 0644), 0);
  const Immutable locked(exe);
  if (locked.Unavailable()) {
    GTEST_SKIP() << "the immutable attribute cannot be set here";
  }
  ui.Clear();
  EXPECT_EQ(Apply(patch), ResultFailed);
  ExpectFailure("");
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_EQ(LeftBehind(), Names{});
}

// While the user types the argument, or after the new content is written and before it
// replaces the old, another program removes the executable, puts a folder or a new file in
// its place or appends to it: that is the other program's choice, not undone, and said.
TEST_F(TargetFaults, AnExecutableChangedByAnotherProgramIsReportedNotReplacedNorRecreated) {
  const auto remove = [this] { fs::remove(ToFsPath(exe)); };
  const auto folder = [this] {
    fs::remove(ToFsPath(exe));
    fs::create_directory(ToFsPath(exe));
  };
  const Bytes other = RandomImage(image.size(), 5);
  const auto replace = [&] { fs::rename(dir.Write(JoinPath("game", "new.exe"), other), exe); };
  const auto append = [this] {
    std::ofstream(exe, std::ios::app | std::ios::binary) << "\x01\x02\x03";
  };
  Bytes grown = image;
  grown.insert(grown.end(), {1, 2, 3});
  const auto replacing = [](const std::function<void()>& change) {
    WriteFaults hooks;
    hooks.before_replace = [change](const std::string&) { change(); };
    return hooks;
  };
  const struct {
    std::function<void()> whileAsked;  // else the hooks act
    WriteFaults hooks;
    std::int32_t flags;
    std::string start;
    const char* description;
    std::optional<Bytes> left;  // no file when empty
  } cases[] = {
      {remove, {}, 0, kGeneralFailure, "No such file", {}},
      // Bound to one version: the signature cannot be computed any more.
      {remove, {}, SameExeVersionOnly, "ERROR trying to compute version of file: " + exe, "", {}},
      {folder, {}, 0, kGeneralFailure, "", {}},
      {nullptr, replacing(remove), 0, kGeneralFailure, "", {}},
      {nullptr, replacing(folder), 0, kGeneralFailure, "", {}},
      {nullptr, replacing(append), 0, kGeneralFailure, "", grown},
      {nullptr, replacing(replace), 0, kGeneralFailure, "", other},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    PatchRecord withArgument = Zones(true);
    withArgument.Flags |= c.flags;
    WritePatchNamed("Patch#1#.ptc", withArgument);
    ui.whileAsked = c.whileAsked;
    ui.QueueAnswer("9");
    if (c.whileAsked) {
      EXPECT_EQ(Apply(argumentPatch), ResultFailed);
      ExpectFailure(c.description, c.start);
    } else {
      EXPECT_EQ(Perform(c.hooks), ResultFailed);
      EXPECT_TRUE(OnlyGeneralFailure(ui)) << Told();
    }
    EXPECT_EQ(FileExists(exe) ? std::optional(ReadBytes(exe)) : std::nullopt, c.left);
    EXPECT_TRUE(!fs::exists(ToFsPath(exe)) || FileExists(exe) || fs::is_empty(ToFsPath(exe)));
    EXPECT_EQ(LeftBehind(), Names{});
    fs::remove_all(ToFsPath(exe));
    dir.Write(JoinPath("game", "tomb4.exe"), image);
    ui.Clear();
  }
}

// A temporary copy of the argument's patch left by an earlier run that was killed: one cut
// short while this patch was copied is the next run's to remove; one of another version of
// the patch, which wrote one byte elsewhere, is never loaded nor replaced.
TEST_F(TargetFaults, ACopyLeftByAnEarlierRunIsRemovedOnlyWhenItIsThisPatchs) {
  const Bytes whole = ReadBytes(argumentPatch);
  dir.Write(JoinPath("patches", "temp_Patch#9#.ptc"), Bytes(whole.begin(), whole.begin() + 10));
  ui.QueueAnswer("9");
  EXPECT_EQ(Apply(argumentPatch), ResultDone);
  EXPECT_EQ(LeftBehind(), Names{});

  const std::string stale =
      WritePatchNamed("temp_Patch#9#.ptc", Patch(DontVerifySource, {Zone(200, {0}, {0xAA})}));
  const Bytes staleBytes = ReadBytes(stale);
  const Immutable locked(stale);
  ui.Clear();
  ui.QueueAnswer("9");
  EXPECT_EQ(RunPatchOperation(argumentPatch, exe, true, loaded, {.ui = ui}), ResultDone);
  EXPECT_TRUE(ui.OnlyPlain("Ok: removing patch operation has been performed")) << Told();
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_EQ(ReadBytes(stale), staleBytes);
}

// The program is stopped while it rewrites the executable, which keeps every old byte. By a
// signal it can catch (Ctrl-C, a terminal closed, a polite kill) nothing is left behind; by one
// it cannot (SIGKILL: no handler, no clean-up), the hidden copy left over is removed by the next
// operation on the same file.
class StoppedOperation : public FaultTest {
 protected:
  StoppedOperation() : FaultTest(3 << 20) {}  // more than one write, for a signal between two
};

TEST_F(StoppedOperation, ASignalKeepsTheOldFileAndWhatAKillLeavesGoesWithTheNextOperation) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
    WriteFaults whileWriting;
    whileWriting.allow_write = [signal](std::size_t offset, std::size_t) {
      return offset == 0 || ::raise(signal) == 0;
    };
    WriteFaults beforeReplace;
    beforeReplace.before_replace = [signal](const std::string&) { ::raise(signal); };
    for (const WriteFaults& hooks : {whileWriting, beforeReplace}) {
      SCOPED_TRACE(std::string(strsignal(signal)) + (hooks.before_replace ? " before" : " while"));
      ChildProcess child([&] { return std::to_string(Perform(hooks)); });
      EXPECT_EQ(child.Report(), "");
      EXPECT_TRUE(child.KilledBySignal());
      EXPECT_EQ(ReadBytes(exe), image);
      const Names left = LeftBehind();
      EXPECT_EQ(left.empty(), signal != SIGKILL) << ::testing::PrintToString(left);
      for (const std::string& name : left) {
        EXPECT_TRUE(name.starts_with(".tomb4.exe.varnock-")) << name;
      }
    }
  }
  // Names like a hidden copy that are not one, or one still in use, stay.
  const Names kept = {".tomb4.exe.varnock-notes.txt", ".tomb4.exe.varnock-",
                      ".other.exe.varnock-Ab12Cd", ".tomb4.exe.varnock-InUse1"};
  for (const std::string& name : kept) {
    dir.WriteText(JoinPath("game", name), "user data");
  }
  fs::create_directory(ToFsPath(dir.File(JoinPath("game", ".tomb4.exe.varnock-Folder"))));
  const int inUse = ::open(dir.File(JoinPath("game", kept.back())).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(inUse, LOCK_EX), 0);

  // Even an operation that writes nothing cleans up.
  dir.Write(JoinPath("game", "tomb4.exe"), Applied());
  EXPECT_EQ(Apply(patch), ResultAlreadyDone);
  Names expected = kept;
  expected.insert(expected.end(),
                  {"tomb4.exe", "Patch.ptc", "Patch#1#.ptc", ".tomb4.exe.varnock-Folder"});
  EXPECT_EQ(LeftBehind(expected), Names{});
  for (const std::string& name : kept) {
    EXPECT_TRUE(FileExists(dir.File(JoinPath("game", name)))) << name;
  }
  ::close(inUse);
}

// The program is stopped while the argument's patch copy waits for an executable another
// writer holds: the copy goes with the program, as the hidden copy does.
TEST_F(TargetFaults, ASignalRemovesTheCopyOfTheArgumentsPatch) {
  const int held = ::open(exe.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    ChildProcess child([&] {
      std::thread([&] {
        while (!FileExists(dir.File(JoinPath("patches", "temp_Patch#9#.ptc")))) {
        }
        ::kill(::getpid(), signal);
      }).detach();
      ui.QueueAnswer("9");
      return std::to_string(Apply(argumentPatch));
    });
    EXPECT_EQ(child.Report(), "") << strsignal(signal);
    EXPECT_EQ(LeftBehind(), Names{}) << strsignal(signal);
  }
  ::close(held);
}

using TwoWriters = FaultTest;

// Eight runs with eight different patches start together on one executable, fifty times: each
// ends with its zones in the file and "Ok", or with a clear message and none of them.
TEST_F(TwoWriters, ConcurrentAppliesNeverLoseAChange) {
  std::vector<std::string> patches;
  std::vector<PatchZone> zones;
  Names made = {"tomb4.exe", "Patch.ptc", "Patch#1#.ptc"};
  for (int k = 0; k < 8; ++k) {
    const auto at = static_cast<std::int32_t>(200 + 300 * k);
    zones.push_back(Zone(at, Slice(at, 4), {static_cast<std::uint8_t>(k), 0xAA, 0xBB, 0xCC}));
    patches.push_back(WritePatchNamed("P" + std::to_string(k) + ".ptc", Patch(0, {zones.back()})));
    made.push_back(GetFileName(patches.back()));
  }
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
      } else {
        EXPECT_EQ(report.rfind(std::to_string(ResultFailed) + kGeneralFailure, 0), 0U) << report;
        EXPECT_EQ(inFile, zone.OriginalBytes);
      }
    }
  }
  EXPECT_EQ(LeftBehind(made), Names{});
}

// A status taken while another run writes the executable in place, holding it, waits for the
// write to end and judges the whole result, never a file half written.
TEST_F(TwoWriters, AStatusWaitsForAWriteInPlace) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  ChildProcess writer([&]() -> std::string {
    const int fd = ::open(exe.c_str(), O_RDWR);
    const Bytes applied = Applied();
    if (::flock(fd, LOCK_EX) != 0 || ::pwrite(fd, applied.data(), 4096, 0) != 4096) {
      return "not held";
    }
    ::close(ready[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto size = static_cast<ssize_t>(applied.size());
    return ::pwrite(fd, applied.data(), applied.size(), 0) == size ? "" : "not written";
  });
  ::close(ready[1]);
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 0);
  std::string version;
  EXPECT_EQ(GetPatchStatus(patch, exe, std::nullopt, version).state, PatchState::Applied);
  EXPECT_EQ(writer.Report(), "");
  ::close(ready[0]);
}

}  // namespace
}  // namespace varnock::testing
