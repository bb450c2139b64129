#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "bench/floors.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "patchfile/patch_writer.h"
#include "target/exe_version.h"

namespace varnock::bench {

namespace {

constexpr int kPatchCount = 2000;

// The signature a patch was made from: a third made for the chosen engine, a third for
// another build of the same edition, a third for another program.
std::string MadeFrom(int index) {
  switch (index % 3) {
    case 0:
      return kEngineVersion;
    case 1:
      return "LE_UK_B:30_Standard (2-Feb-2001  10:15)";
    default:
      return "TP_Standard (16-Oct-2000  10:37)";
  }
}

// 2,000 patch files of about 550 bytes, as the ones carried by the program, in one folder;
// the engine they are ranked for lies in another.
struct ListingScene {
  ScratchFolder patches;
  ScratchFolder engineFolder;
  std::vector<std::string> paths;
  std::string engine;

  ListingScene() {
    const Bytes image = MakeEngineImage();
    engine = engineFolder.Write("tomb4.exe", image);
    const std::string description(170, 'd');
    for (int i = 0; i < kPatchCount; ++i) {
      const std::int32_t offsets[3] = {0x1000 + i, 0x2000 + i, 0x3000 + i};
      PatchRecord record = MakePatch(image, offsets, 8, 0, MadeFrom(i));
      record.Description = "Patch " + std::to_string(i) + ": " + description;
      char name[32];
      std::snprintf(name, sizeof name, "Patch_%04d.ptc", i);
      paths.push_back(patches.Write(name, WritePatch(record)));
    }
  }
};

std::size_t ReadAll(const std::vector<std::string>& paths) {
  std::size_t bytes = 0;
  for (const std::string& path : paths) {
    bytes += ReadOnce(path).size();
  }
  return bytes;
}

// The catalogue of a folder of 2,000 patches for the chosen engine: every file listed, loaded
// and ranked, and the list sorted; against reading every file once.
void BM_ListAndRank2000Patches(benchmark::State& state) {
  const ListingScene scene;
  QuietUi ui;
  PatchRecord record;
  const std::string current = GetExeVersion(scene.engine, ui);
  PairedTiming timing(2.0);
  for (auto _ : state) {
    timing.Floor([&] { benchmark::DoNotOptimize(ReadAll(scene.paths)); });
    std::vector<CatalogueEntry> entries;
    timing.Job(state, [&] { entries = BuildCatalogue(scene.patches.path(), current, record, ui); });
    if (entries.size() != kPatchCount || entries.front().fileName != "Patch_0000.ptc" ||
        entries.front().rank != 2 || entries.back().rank != 0 || !ui.FirstMessage().empty()) {
      state.SkipWithError(("the catalogue is not as expected: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_ListAndRank2000Patches)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
