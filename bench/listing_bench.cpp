#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/listing_scene.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "engine/catalogue.h"
#include "target/exe_version.h"

namespace varnock::bench {

namespace {

// Whether the catalogue of `scene` came out whole and in order: the first patch made for the
// engine first, one made for another program last, and no message.
bool AsExpected(const std::vector<CatalogueEntry>& entries, const ListingScene& scene,
                const QuietUi& ui) {
  return entries.size() == scene.paths.size() && entries.front().fileName == "Patch_000000.ptc" &&
         entries.front().rank == 2 && entries.back().rank == 0 && ui.FirstMessage().empty();
}

// The catalogue of a folder of patches for the chosen engine: every file listed, loaded and
// ranked, and the list sorted; against reading every file once.
void BM_ListAndRankPatches(benchmark::State& state) {
  const ListingScene scene(static_cast<int>(state.range(0)));
  QuietUi ui;
  PatchRecord record;
  const std::string current = GetExeVersion(scene.engine, ui);
  PairedTiming timing(1.5);
  for (auto _ : state) {
    timing.Floor([&] { benchmark::DoNotOptimize(ReadAll(scene.paths)); });
    std::vector<CatalogueEntry> entries;
    timing.Job(state, [&] { entries = BuildCatalogue(scene.patches.path(), current, record, ui); });
    if (!AsExpected(entries, scene, ui)) {
      state.SkipWithError(("the catalogue is not as expected: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_ListAndRankPatches)
    ->Arg(kSmallFolder)
    ->Iterations(15)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListAndRankPatches)
    ->Arg(20'000)
    ->Iterations(7)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListAndRankPatches)
    ->Arg(100'000)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The time per patch of the catalogue of a large folder against that of a folder of 2,000,
// both listed in each iteration.
void BM_ListingGrowth(benchmark::State& state) {
  const ListingScene small(kSmallFolder);
  const ListingScene large(static_cast<int>(state.range(0)));
  QuietUi ui;
  PatchRecord record;
  const std::string current = GetExeVersion(small.engine, ui);
  PairedTiming timing(1.2);
  for (auto _ : state) {
    std::vector<CatalogueEntry> entries;
    timing.Floor([&] { entries = BuildCatalogue(small.patches.path(), current, record, ui); });
    bool whole = AsExpected(entries, small, ui);
    timing.Job(state, [&] { entries = BuildCatalogue(large.patches.path(), current, record, ui); });
    if (!whole || !AsExpected(entries, large, ui)) {
      state.SkipWithError(("the catalogue is not as expected: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state, kSmallFolder, static_cast<double>(state.range(0)));
}
BENCHMARK(BM_ListingGrowth)
    ->Arg(20'000)
    ->Iterations(7)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListingGrowth)
    ->Arg(100'000)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
