#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/floors.h"
#include "bench/listing_scene.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "engine/folder_status.h"
#include "patchfile/patch_writer.h"

namespace varnock::bench {

namespace {

constexpr int kPatchCount = 2000;

// 2,000 patches of about 550 bytes for one engine, side by side in its code: every tenth is
// dynamic, the others sit at their recorded places; none shares a byte with another.
struct StatusScene {
  ScratchFolder patches;
  ScratchFolder engineFolder;
  std::vector<std::string> paths;
  std::string engine;

  StatusScene() {
    const Bytes image = MakeEngineImage();
    engine = engineFolder.Write("tomb4.exe", image);
    const std::string description(170, 'd');
    for (int i = 0; i < kPatchCount; ++i) {
      const std::int32_t at = 0x1000 + i * 24;
      const std::int32_t offsets[3] = {at, at + 8, at + 16};
      PatchRecord record = MakePatch(image, offsets, 8, i % 10 == 0 ? Dynamic : 0, kEngineVersion);
      record.Description = "Patch " + std::to_string(i) + ": " + description;
      char name[32];
      std::snprintf(name, sizeof name, "Patch_%04d.ptc", i);
      paths.push_back(patches.Write(name, WritePatch(record)));
    }
  }
};

// The status of every patch of the folder on the engine, with the conflicts between them;
// against reading every patch file and the engine once.
void BM_Status2000Patches(benchmark::State& state) {
  const StatusScene scene;
  QuietUi ui;
  PairedTiming timing(2.0);
  for (auto _ : state) {
    timing.Floor(
        [&] { benchmark::DoNotOptimize(ReadAll(scene.paths) + ReadOnce(scene.engine).size()); });
    FolderStatus folder;
    bool read = false;
    timing.Job(state,
               [&] { read = GetFolderStatus(scene.patches.path(), scene.engine, folder, ui); });
    if (!read || folder.entries.size() != kPatchCount ||
        folder.entries.front().status.state != PatchState::NotApplied ||
        folder.conflicts.Count(kPatchCount - 1) != 0 || !ui.FirstMessage().empty()) {
      state.SkipWithError(("the status is not as expected: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_Status2000Patches)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
