// The memory of `varnock-cli check --json` and `status --json`, measured on the program itself;
// built when it is.
#ifdef VARNOCK_CLI_PROGRAM

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
  std::size_t exeSize = 0;

  LargePatchScene() {
    constexpr std::int32_t kImageSize = 2 * kMegabyte;
    constexpr std::int32_t kZones = 2'000'000;
    const Bytes image = LargeFiller(kImageSize, 5);
    exe = folder.Write("tomb4.exe", image);
    exeSize = image.size();
    PatchRecord record;
    record.ExeName = "tomb4.exe";
    for (std::int32_t i = 0; i < kZones; ++i) {
      const std::int32_t at = 0x1000 + i % (kImageSize - 0x2000);
      const auto original = image[static_cast<std::size_t>(at)];
      record.Zones.push_back({at, 1, {original}, {static_cast<std::uint8_t>(~original)}});
    }
    const Bytes bytes = WritePatch(record);
    patchSize = bytes.size();
    patch = folder.Write("Patch_Large.ptc", bytes);
  }

  // Runs `check PATCH EXE --json` (`status FOLDER EXE --json`), its output thrown away; the peak
  // resident memory of the child in bytes, 0 when it did not end well.
  std::size_t PeakOf(bool status) const {
    // A child that shares this process's memory until it starts the program (as posix_spawn
    // makes it) inherits this process's peak as its own. A forked one counts from what this
    // one holds when it is made: the heap that made the scene is given back first.
    malloc_trim(0);
    const char* program = VARNOCK_CLI_PROGRAM;
    const std::string& input = status ? folder.path() : patch;
    char* arguments[] = {
        const_cast<char*>(program),       const_cast<char*>(status ? "status" : "check"),
        const_cast<char*>(input.c_str()), const_cast<char*>(exe.c_str()),
        const_cast<char*>("--json"),      nullptr};
    const pid_t child = fork();
    if (child == 0) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execve(program, arguments, environ);
      _exit(127);
    }
    int ended = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &ended, 0, &usage) != child || !WIFEXITED(ended) ||
        WEXITSTATUS(ended) != 0) {
      return 0;
    }
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
  }
};

// The peak memory of check --json (status --json) against the size of the input files: the
// patch (and the executable). The goal is twice that plus 16 MB.
void BM_JsonPeakMemory(benchmark::State& state, bool status) {
  const LargePatchScene scene;
  std::size_t peak = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const std::size_t used = scene.PeakOf(status);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (used == 0) {
      state.SkipWithError("the command did not end well");
      break;
    }
    peak = std::max(peak, used);
  }
  const auto file = static_cast<double>(scene.patchSize + (status ? scene.exeSize : 0));
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["ratio"] = static_cast<double>(peak) / file;
  state.counters["target"] = (2 * file + 16.0 * kMegabyte) / file;
}
BENCHMARK_CAPTURE(BM_JsonPeakMemory, Check, false)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JsonPeakMemory, Status, true)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench

#endif
