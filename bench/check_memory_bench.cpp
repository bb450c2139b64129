// The memory of `varnock-cli check --json`, measured on the program itself; built when it is.
#ifdef VARNOCK_CLI_PROGRAM

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "patchfile/patch_writer.h"

extern char** environ;

namespace varnock::bench {

namespace {

// A patch of about 20 MB of one-byte zones, each changing one byte of a 2 MB executable, as a
// generated patch of many scattered changes is.
struct LargePatchScene {
  ScratchFolder folder;
  std::string exe;
  std::string patch;
  std::size_t patchSize = 0;

  LargePatchScene() {
    constexpr std::int32_t kImageSize = 2 * kMegabyte;
    constexpr std::int32_t kZones = 2'000'000;
    const Bytes image = LargeFiller(kImageSize, 5);
    exe = folder.Write("tomb4.exe", image);
    PatchRecord record;
    record.ExeName = "tomb4.exe";
    record.ZoneCount = kZones;
    for (std::int32_t i = 0; i < kZones; ++i) {
      const std::int32_t at = 0x1000 + i % (kImageSize - 0x2000);
      const auto original = image[static_cast<std::size_t>(at)];
      record.Zones.push_back({at, 1, {original}, {static_cast<std::uint8_t>(~original)}});
    }
    const Bytes bytes = WritePatch(record);
    patchSize = bytes.size();
    patch = folder.Write("Patch_Large.ptc", bytes);
  }

  // Runs the command, its output thrown away; the peak resident memory of the child in bytes,
  // 0 when it did not end well.
  std::size_t PeakOfCheck() const {
    const char* program = VARNOCK_CLI_PROGRAM;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* arguments[] = {const_cast<char*>(program),       const_cast<char*>("check"),
                         const_cast<char*>(patch.c_str()), const_cast<char*>(exe.c_str()),
                         const_cast<char*>("--json"),      nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      return 0;
    }
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
  }
};

// The peak memory of check --json against the patch file's size. The goal is twice the file
// plus 16 MB.
void BM_CheckJsonPeakMemory(benchmark::State& state) {
  const LargePatchScene scene;
  std::size_t peak = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const std::size_t used = scene.PeakOfCheck();
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (used == 0) {
      state.SkipWithError("check did not end well");
      break;
    }
    peak = std::max(peak, used);
  }
  const auto file = static_cast<double>(scene.patchSize);
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["ratio"] = static_cast<double>(peak) / file;
  state.counters["target"] = (2 * file + 16.0 * kMegabyte) / file;
}
BENCHMARK(BM_CheckJsonPeakMemory)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench

#endif
