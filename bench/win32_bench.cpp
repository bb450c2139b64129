// The Win32 window under Wine: its start-up with a folder of patches against reading those
// files once under the same Wine, and the cost of a key in its Patches window as the rows grow.
// Needs the Windows build (VARNOCK_WINDOWS_BUILD, see bench/wine_run.h); skipped without it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/listing_scene.h"
#include "bench/paired_timing.h"
#include "bench/wine_run.h"

namespace varnock::bench {

namespace {

namespace fs = std::filesystem;

constexpr char kWindowProgram[] = "win32/varnock.exe";
constexpr char kFloorProgram[] = "bench/win32/varnock-bench-read-floor.exe";
constexpr char kKeysProgram[] = "bench/win32/varnock-bench-keys.exe";

// The number after "name=" in a program's output; none when it is not there.
std::optional<double> Figure(const std::string& output, const std::string& name) {
  const std::size_t at = output.find(name + "=");
  if (at == std::string::npos) {
    return std::nullopt;
  }
  return std::stod(output.substr(at + name.size() + 1));
}

std::optional<WineRun> WineOrSkip(benchmark::State& state) {
  std::optional<WineRun> wine = WineRun::FromEnvironment();
  if (!wine) {
    state.SkipWithError("VARNOCK_WINDOWS_BUILD names no Windows build");
  }
  return wine;
}

// From the program's start to its window shown and closed, with `count` patches beside it and
// the engine remembered as the executable to patch (so each patch's status is computed at
// start-up), against a program that lists and reads every patch file once, both under Wine.
void BM_Win32Startup(benchmark::State& state) {
  const std::optional<WineRun> wine = WineOrSkip(state);
  if (!wine) {
    return;
  }
  const ListingScene scene(static_cast<int>(state.range(0)));
  const std::string program = scene.patches.path() + "/varnock.exe";
  fs::copy_file(wine->Program(kWindowProgram), program, fs::copy_options::overwrite_existing);
  const std::string key = "HKCU\\Software\\Varnock";
  for (const auto& [name, value] : {std::pair<std::string, std::string>{"Executable", scene.engine},
                                    {"PatchFolder", scene.patches.path()}}) {
    wine->Run("reg", {"add", key, "/v", name, "/d", WineRun::WindowsPath(value), "/f"});
  }
  PairedTiming timing(1.5);
  for (auto _ : state) {
    std::optional<std::string> floor;
    timing.Floor([&] {
      floor = wine->Run(wine->Program(kFloorProgram), {WineRun::WindowsPath(scene.patches.path())});
    });
    std::optional<std::string> job;
    timing.Job(state, [&] { job = wine->Run(program, {}, {"VARNOCK_CLOSE_WHEN_SHOWN=1"}); });
    if (!floor || !job || Figure(*floor, "files") != static_cast<double>(state.range(0))) {
      state.SkipWithError("the window or the floor did not run as expected");
      break;
    }
  }
  wine->Run("reg", {"delete", key, "/f"});
  timing.Report(state);
}
BENCHMARK(BM_Win32Startup)
    ->Arg(kSmallFolder)
    ->Arg(20'000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The program's own CPU time per key (arrows, every tenth a Page Down) in the Patches window with
// `count` rows, against the same with 2,000 rows: flat when the ratio is near 1. Each run also
// checks that the description shown is the selected row's.
void BM_Win32PatchesKeys(benchmark::State& state) {
  const std::optional<WineRun> wine = WineOrSkip(state);
  if (!wine) {
    return;
  }
  const ListingScene small(kSmallFolder);
  const ListingScene large(static_cast<int>(state.range(0)));
  const std::string keys = "200";
  const auto perKey = [&](const ListingScene& scene) -> std::optional<double> {
    const std::optional<std::string> output = wine->Run(
        wine->Program(kKeysProgram),
        {WineRun::WindowsPath(scene.patches.path()), WineRun::WindowsPath(scene.engine), keys});
    if (!output || Figure(*output, "follows") != 1.0) {
      return std::nullopt;
    }
    return Figure(*output, "key_cpu_us");
  };
  std::vector<double> floors;
  std::vector<double> jobs;
  for (auto _ : state) {
    const std::optional<double> floor = perKey(small);
    const std::optional<double> job = perKey(large);
    if (!floor || !job) {
      state.SkipWithError("the keys did not run, or the description did not follow them");
      break;
    }
    floors.push_back(*floor);
    jobs.push_back(*job);
    state.SetIterationTime(*job * 1e-6);
  }
  state.counters["ratio"] = Median(floors) > 0 ? Median(jobs) / Median(floors) : 0;
  state.counters["target"] = 1.2;
  state.counters["floor_us"] = Median(floors);
  state.counters["job_us"] = Median(jobs);
}
BENCHMARK(BM_Win32PatchesKeys)
    ->Arg(20'000)
    ->Arg(100'000)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace varnock::bench
