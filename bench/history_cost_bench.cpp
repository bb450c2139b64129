#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "bench/allocation_counter.h"
#include "bench/floors.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "engine/perform_patch.h"
#include "history/history_actions.h"
#include "patchfile/patch_writer.h"
#include "support/paths.h"

namespace varnock::bench {

namespace {

constexpr double kSlack = 64.0 * kMegabyte;

// An executable and a patch for it in a scratch folder, with the history kept beside them.
struct HistoryScene {
  ScratchFolder folder;
  std::string exe;
  std::string patch;
  std::string historyFolder = JoinPath(folder.path(), "history");
  double exeSize = 0;
  double patchSize = 0;

  HistoryScene(const Bytes& image, const PatchRecord& record) {
    exe = folder.Write("tomb4.exe", image);
    const Bytes file = WritePatch(record);
    patch = folder.Write("Patch_Cost.ptc", file);
    exeSize = static_cast<double>(image.size());
    patchSize = static_cast<double>(file.size());
  }

  ResultCode Run(bool removing, QuietUi& ui, bool recorded) const {
    OperationHistory history(historyFolder);
    std::string version;
    PatchRecord record;
    return PerformPatch(patch, exe, removing, version, record,
                        {.ui = ui, .history = recorded ? &history : nullptr});
  }
};

// Four million one-byte zones side by side (38 MB of patch) on a 4 MB executable of zeros.
HistoryScene ManyZonesScene() {
  constexpr std::int32_t kZones = 4'000'000;
  PatchRecord record;
  record.ExeName = "tomb4.exe";
  for (std::int32_t i = 0; i < kZones; ++i) {
    record.Zones.push_back(PatchZone{i, 1, {0}, {1}});
  }
  return HistoryScene(Bytes(kZones, 0), record);
}

// The most memory an apply of that patch holds at once, without (argument 0) and with the
// history (1), against the promise: twice the patch plus the executable plus 64 MB. Each
// iteration starts a new history, as the first change of a file does, or (2) goes on with the
// history of the ones before, which holds every zone twice per iteration. The peak of each
// apply is given too (peak_bytes_1, _2, ...): with a history that grows, the later ones.
void BM_ManyZonesApplyPeakMemory(benchmark::State& state) {
  const bool recorded = state.range(0) != 0;
  const HistoryScene scene = ManyZonesScene();
  QuietUi ui;
  std::size_t peak = 0;
  int apply = 0;
  for (auto _ : state) {
    const std::size_t before = BytesInUse();
    ResetPeakBytes();
    const auto start = std::chrono::steady_clock::now();
    const ResultCode applied = scene.Run(false, ui, recorded);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    peak = std::max(peak, PeakBytesInUse() - before);
    state.counters["peak_bytes_" + std::to_string(++apply)] =
        static_cast<double>(PeakBytesInUse() - before);
    if (applied != ResultDone || scene.Run(true, ui, recorded) != ResultDone) {
      state.SkipWithError(("the patch did not go on and off: " + ui.FirstMessage()).c_str());
      break;
    }
    if (state.range(0) != 2) {
      std::filesystem::remove_all(scene.historyFolder);
    }
  }
  const double limit = 2 * scene.patchSize + scene.exeSize + kSlack;
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["limit_bytes"] = limit;
  state.counters["ratio"] = static_cast<double>(peak) / limit;
  state.counters["target"] = 1;
}
BENCHMARK(BM_ManyZonesApplyPeakMemory)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// A restore of a 64 MB executable patched in three zones, timed against reading and rewriting
// the file once; its peak memory is given beyond the file's size (the goal: a few MB).
void BM_RestoreOriginal(benchmark::State& state) {
  const Bytes image = LargeFiller(64 * kMegabyte, 7);
  const std::int32_t offsets[3] = {0x1200, static_cast<std::int32_t>(image.size() / 2 + 0x310),
                                   static_cast<std::int32_t>(image.size() - 0x1000)};
  const HistoryScene scene(image, MakePatch(image, offsets, 24, 0, ""));
  QuietUi ui;
  PairedTiming timing(1.3);
  std::size_t peak = 0;
  for (auto _ : state) {
    bool rewritten = false;
    timing.Floor([&] { rewritten = ReadAndRewrite(scene.exe); });
    if (!rewritten || scene.Run(false, ui, true) != ResultDone) {
      state.SkipWithError("the patch could not be applied with its history");
      break;
    }
    const std::size_t before = BytesInUse();
    ResetPeakBytes();
    HistoryOutcome restored;
    timing.Job(state, [&] {
      restored = RestoreOriginal({scene.exe, scene.historyFolder}, RestoreRun::Write,
                                 RestoreReach::WholeOriginal);
    });
    peak = std::max(peak, PeakBytesInUse() - before);
    if (!restored.ok) {
      state.SkipWithError(("the restore failed: " + restored.message).c_str());
      break;
    }
  }
  timing.Report(state);
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["beyond_file_bytes"] = static_cast<double>(peak) - scene.exeSize;
}
BENCHMARK(BM_RestoreOriginal)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
