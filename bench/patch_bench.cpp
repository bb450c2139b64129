#include <benchmark/benchmark.h>

#include "bench/floors.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "engine/perform_patch.h"
#include "patchfile/patch_writer.h"

namespace varnock::bench {

namespace {

// A 1 MB executable and a three-zone patch for it, spread over the file.
struct PatchScene {
  ScratchFolder folder;
  std::string exe;
  std::string patch;

  PatchScene() {
    const Bytes image = CodeLikeFiller(kExecutableSize, 7);
    exe = folder.Write("tomb4.exe", image);
    const std::int32_t offsets[3] = {0x1200, 0x7A310, 0xF0004};
    patch = folder.Write("Patch_ThreeZones.ptc", WritePatch(MakePatch(image, offsets, 24, 0, "")));
  }

  ResultCode Run(bool removing, QuietUi& ui) const {
    std::string version;
    PatchRecord record;
    return PerformPatch(patch, exe, removing, version, record, ui);
  }
};

// Applying (or removing) against reading the executable once and rewriting it once. The
// other direction runs untimed between iterations, to bring the file back.
void MeasureDirection(benchmark::State& state, bool removing) {
  const PatchScene scene;
  QuietUi ui;
  PairedTiming timing(1.5);
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
BENCHMARK(BM_ApplyPatch)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_RemovePatch(benchmark::State& state) {
  MeasureDirection(state, true);
}
BENCHMARK(BM_RemovePatch)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace varnock::bench
