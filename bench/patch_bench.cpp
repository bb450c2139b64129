#include <benchmark/benchmark.h>

#include "bench/floors.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "engine/perform_patch.h"
#include "patchfile/patch_writer.h"
#include "support/paths.h"

namespace varnock::bench {

namespace {

// An executable of `size` bytes and a three-zone patch for it, spread over the file.
struct PatchScene {
  ScratchFolder folder;
  std::string exe;
  std::string patch;

  explicit PatchScene(std::size_t size) {
    const Bytes image = LargeFiller(size, 7);
    exe = folder.Write("tomb4.exe", image);
    const std::int32_t offsets[3] = {0x1200, static_cast<std::int32_t>(size / 2 + 0x310),
                                     static_cast<std::int32_t>(size - 0x1000)};
    patch = folder.Write("Patch_ThreeZones.ptc", WritePatch(MakePatch(image, offsets, 24, 0, "")));
  }

  ResultCode Run(bool removing, QuietUi& ui, OperationHistory* history = nullptr) const {
    std::string version;
    PatchRecord record;
    return PerformPatch(patch, exe, removing, version, record, {.ui = ui, .history = history});
  }
};

// Applying (or removing) against reading the executable once and rewriting it once. The
// other direction runs untimed between iterations, to bring the file back.
void MeasureDirection(benchmark::State& state, bool removing) {
  const PatchScene scene(static_cast<std::size_t>(state.range(0)));
  QuietUi ui;
  PairedTiming timing(1.3);
  if (removing && scene.Run(false, ui) != ResultDone) {
    state.SkipWithError("the patch could not be applied first");
    return;
  }
  for (auto _ : state) {
    bool rewritten = false;
    timing.Floor([&] { rewritten = ReadAndRewrite(scene.exe); });
    if (!rewritten) {
      state.SkipWithError("the executable could not be read and rewritten");
      break;
    }
    ResultCode result = ResultNone;
    timing.Job(state, [&] { result = scene.Run(removing, ui); });
    if (result != ResultDone || scene.Run(!removing, ui) != ResultDone) {
      state.SkipWithError(("the patch did not go on and off: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}

void BM_ApplyPatch(benchmark::State& state) {
  MeasureDirection(state, false);
}

void BM_RemovePatch(benchmark::State& state) {
  MeasureDirection(state, true);
}

// 1 MB as often as the library likes; 64 MB and 512 MB a set number of times, as each of
// their iterations rewrites the file three times.
#define VARNOCK_BY_SIZE(function)                                                      \
  BENCHMARK(function)->Arg(kMegabyte)->UseManualTime()->Unit(benchmark::kMicrosecond); \
  BENCHMARK(function)                                                                  \
      ->Arg(64 * kMegabyte)                                                            \
      ->Iterations(9)                                                                  \
      ->UseManualTime()                                                                \
      ->Unit(benchmark::kMillisecond);                                                 \
  BENCHMARK(function)                                                                  \
      ->Arg(512 * kMegabyte)                                                           \
      ->Iterations(3)                                                                  \
      ->UseManualTime()                                                                \
      ->Unit(benchmark::kMillisecond)

// Applying with the history of the change recorded (the SHA-256 of the new content, the
// changed ranges, the record written and flushed) against applying without it. The removal
// before it is recorded too, as every change is when the history is kept, so that the content
// it left need not be summed again.
void BM_ApplyWithHistory(benchmark::State& state) {
  const PatchScene scene(static_cast<std::size_t>(state.range(0)));
  OperationHistory history(JoinPath(scene.folder.path(), "history"));
  QuietUi ui;
  PairedTiming timing(1.1);
  for (auto _ : state) {
    ResultCode plain = ResultNone;
    timing.Floor([&] { plain = scene.Run(false, ui); });
    ResultCode recorded = ResultNone;
    if (plain == ResultDone && scene.Run(true, ui, &history) == ResultDone) {
      timing.Job(state, [&] { recorded = scene.Run(false, ui, &history); });
    }
    if (recorded != ResultDone || !history.Failure().empty() ||
        scene.Run(true, ui, &history) != ResultDone) {
      state.SkipWithError("the patch did not go on and off with its history");
      break;
    }
  }
  timing.Report(state);
}

BENCHMARK(BM_ApplyWithHistory)
    ->Arg(64 * kMegabyte)
    ->Iterations(9)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

VARNOCK_BY_SIZE(BM_ApplyPatch);
VARNOCK_BY_SIZE(BM_RemovePatch);

}  // namespace

}  // namespace varnock::bench
