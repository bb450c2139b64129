#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/status_line.h"
#include "bench/floors.h"
#include "bench/folder_scene.h"
#include "bench/in_process_window.h"
#include "bench/listing_scene.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "engine/catalogue.h"
#include "engine/folder_status.h"
#include "patchfile/patch_writer.h"
#include "target/exe_version.h"

namespace varnock::bench {

namespace {

// What the plain status computes: every patch's status and its conflicts as the line shows
// them. The number of lines with a conflict.
std::size_t PlainStatus(const std::string& folder, const std::string& exe, QuietUi& ui) {
  FolderStatus status;
  std::size_t conflicting = 0;
  if (GetFolderStatus(folder, exe, status, ui)) {
    for (std::size_t i = 0; i < status.entries.size(); ++i) {
      conflicting += ConflictsText(status, i).empty() ? 0 : 1;
    }
  }
  return conflicting;
}

// A hostile patch of 200,000 two-byte zones, all at one offset of the stand-in engine, written
// into `folder`; returns its path.
std::string WriteHostilePatch(const ScratchFolder& folder) {
  const Bytes image = MakeEngineImage();
  PatchRecord record;
  record.ExeName = "tomb4.exe";
  record.ZoneCount = 200'000;
  for (int i = 0; i < record.ZoneCount; ++i) {
    record.Zones.push_back({0x1000, 2, {image[0x1000], image[0x1001]}, {1, 2}});
  }
  return folder.Write("Hostile.ptc", WritePatch(record));
}

// The hostile patch alone in its folder.
struct HostileScene {
  ScratchFolder patches;
  ScratchFolder engineFolder;
  std::string patch = WriteHostilePatch(patches);
  std::string engine = engineFolder.Write("tomb4.exe", MakeEngineImage());
};

// The status of a folder holding the hostile patch, against listing that folder: reading and
// loading the patch, every zone of it, and the engine's signature. Beside it, the ratio to a
// bare read of the two files: any job that looks at each of 200,000 zones once is far above it.
void BM_StatusOfHostilePatch(benchmark::State& state) {
  const HostileScene scene;
  QuietUi ui;
  PatchRecord record;
  PairedTiming timing(3.0);
  std::vector<double> reads;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(ReadAll({scene.patch, scene.engine}));
    reads.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    timing.Floor([&] {
      benchmark::DoNotOptimize(
          BuildCatalogue(scene.patches.path(), GetExeVersion(scene.engine, ui), record, ui));
    });
    std::size_t conflicting = 1;
    timing.Job(state, [&] { conflicting = PlainStatus(scene.patches.path(), scene.engine, ui); });
    if (conflicting != 0 || !ui.FirstMessage().empty()) {
      state.SkipWithError(("the status is not as expected: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
  state.counters["read_us"] = Median(reads) * 1e6;
}
BENCHMARK(BM_StatusOfHostilePatch)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The plain status of 20,000 copies of one patch, every one in conflict with all the others,
// against that of 20,000 different patches.
void BM_StatusOfCopies(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const FolderScene different(count, false);
  const FolderScene copies(count, true);
  QuietUi ui;
  PairedTiming timing(2.0);
  for (auto _ : state) {
    std::size_t apart = 1;
    std::size_t together = 0;
    timing.Floor([&] { apart = PlainStatus(different.patches.path(), different.engine, ui); });
    timing.Job(state, [&] { together = PlainStatus(copies.patches.path(), copies.engine, ui); });
    if (apart != 0 || together != static_cast<std::size_t>(count) || !ui.FirstMessage().empty()) {
      state.SkipWithError(("the status is not as expected: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_StatusOfCopies)
    ->Arg(20'000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The window's start-up in this process (listing, first patch chosen, its status line) with
// 3,000 copies of one patch, against 3,000 different patches.
void BM_WindowStartupWithCopies(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const FolderScene different(count, false);
  const FolderScene copies(count, true);
  PairedTiming timing(2.0);
  for (auto _ : state) {
    InProcessWindow apart(different.patches.path(), different.engine);
    InProcessWindow together(copies.patches.path(), copies.engine);
    bool loaded = false;
    timing.Floor([&] { loaded = apart.Load(); });
    timing.Job(state, [&] { loaded = together.Load() && loaded; });
    if (!loaded || together.StatusLine().find(" others") == std::string::npos ||
        apart.StatusLine() != "Status: not applied") {
      state.SkipWithError(("the window did not start as expected: " + together.StatusLine() +
                           " / " + apart.StatusLine())
                              .c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_WindowStartupWithCopies)
    ->Arg(3'000)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The same start-up with the hostile patch among the 3,000 different ones, against without it.
void BM_WindowStartupWithHostilePatch(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const FolderScene plain(count, false);
  const FolderScene hostile(count, false);
  WriteHostilePatch(hostile.patches);
  PairedTiming timing(2.0);
  for (auto _ : state) {
    InProcessWindow without(plain.patches.path(), plain.engine);
    InProcessWindow with(hostile.patches.path(), hostile.engine);
    bool loaded = false;
    timing.Floor([&] { loaded = without.Load(); });
    timing.Job(state, [&] { loaded = with.Load() && loaded; });
    if (!loaded || with.ItemCount() != static_cast<std::size_t>(count) + 1) {
      state.SkipWithError("the window did not start as expected");
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_WindowStartupWithHostilePatch)
    ->Arg(3'000)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Choosing another patch in the window's list with 100,000 in the folder, until its status
// line is shown. The goal is 50 ms: the ratio is the median time over it.
void BM_ChooseAnotherPatch(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const FolderScene scene(count, false);
  InProcessWindow window(scene.patches.path(), scene.engine);
  if (!window.Load() || window.ItemCount() != static_cast<std::size_t>(count)) {
    state.SkipWithError("the window did not start");
    return;
  }
  std::vector<double> times;
  int next = 0;
  for (auto _ : state) {
    next = (next + 7919) % count;
    window.SelectPatchItem(next);
    const auto start = std::chrono::steady_clock::now();
    window.Presenter().PatchClicked();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    times.push_back(seconds);
    if (window.StatusLine().rfind("Status: ", 0) != 0) {
      state.SkipWithError("no status line");
      break;
    }
  }
  constexpr double kGoal = 0.050;
  state.counters["ratio"] = Median(times) / kGoal;
  state.counters["target"] = 1.0;
  state.counters["job_us"] = Median(times) * 1e6;
}
BENCHMARK(BM_ChooseAnotherPatch)
    ->Arg(100'000)
    ->Iterations(40)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
