#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "engine/folder_status.h"
#include "engine/patch_batch.h"
#include "patchfile/patch_writer.h"
#include "sets/set_operations.h"
#include "support/files.h"

namespace varnock::bench {

namespace {

// `count` patches of three zones of four bytes side by side in the engine's code, none sharing
// a byte with another; the first `inSet` of them applied on `engine`, saved as a set.
struct SetScene {
  ScratchFolder patches;
  ScratchFolder engineFolder;
  Bytes original;
  std::vector<BatchItem> items;  // the first `inSet` patches
  std::string engine;
  PatchSet set;

  SetScene(int count, int inSet) : original(MakeEngineImage()) {
    engine = engineFolder.Write("tomb4.exe", original);
    for (int i = 0; i < count; ++i) {
      const std::int32_t at = 0x1000 + i * 12;
      const std::int32_t offsets[3] = {at, at + 4, at + 8};
      char name[32];
      std::snprintf(name, sizeof name, "Patch_%05d.ptc", i);
      const std::string path =
          patches.Write(name, WritePatch(MakePatch(original, offsets, 4, 0, kEngineVersion)));
      if (i < inSet) {
        items.push_back({path, std::nullopt});
      }
    }
    QuietUi ui;
    PerformBatch(items, engine, false, {.ui = ui});
    SaveSetFrom(patches.path(), engine, set, ui);
  }
  void Reset() const { engineFolder.Write("tomb4.exe", original); }
};

// The set of 1,000 patches applied to the original, against the batch of the same patches.
void BM_SetApply1000(benchmark::State& state) {
  const SetScene scene(1000, 1000);
  QuietUi ui;
  PairedTiming timing(1.2);
  for (auto _ : state) {
    scene.Reset();
    timing.Floor([&] { PerformBatch(scene.items, scene.engine, false, {.ui = ui}); });
    scene.Reset();
    ResultCode result = ResultNone;
    timing.Job(state, [&] {
      result = ApplySet(scene.set, CheckSet(scene.set, scene.patches.path(), scene.engine, ui),
                        scene.engine, {.ui = ui});
    });
    if (result != ResultDone || scene.set.patches.size() != 1000) {
      state.SkipWithError(("the set did not apply: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_SetApply1000)->UseManualTime()->Unit(benchmark::kMillisecond);

// A set of 1,000 patches verified in a folder of 20,000, against the status of that folder.
void BM_SetVerify1000Of20000(benchmark::State& state) {
  const SetScene scene(20000, 1000);
  QuietUi ui;
  PairedTiming timing(1.2);
  for (auto _ : state) {
    timing.Floor([&] {
      FolderStatus status;
      GetFolderStatus(scene.patches.path(), scene.engine, status, ui);
    });
    bool holds = false;
    timing.Job(state, [&] {
      const SetCheck check = CheckSet(scene.set, scene.patches.path(), scene.engine, ui);
      holds = check.plan.Holds() && check.Identical(scene.set);
    });
    if (!holds || scene.set.patches.size() != 1000) {
      state.SkipWithError(("the set does not hold: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_SetVerify1000Of20000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
