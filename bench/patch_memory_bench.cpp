#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "bench/allocation_counter.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "engine/catalogue.h"
#include "patchfile/load_patch.h"
#include "patchfile/patch_writer.h"

namespace varnock::bench {

namespace {

// A hostile patch: two million one-byte zones, 20 MB, the densest a file can pack them.
Bytes ManyZonesPatch() {
  PatchRecord patch;
  patch.ExeName = "tomb4.exe";
  constexpr std::int32_t kZones = 2'000'000;
  for (std::int32_t i = 0; i < kZones; ++i) {
    patch.Zones.push_back(PatchZone{i, 1, {0}, {1}});
  }
  patch.ZoneCount = kZones;
  return WritePatch(patch);
}

// The most memory the load of that patch holds at once, alone and within the listing of its
// folder (which loads every patch), against the file's size. The goal is twice the file.
void PeakMemoryOf(benchmark::State& state, bool listing) {
  const ScratchFolder folder;
  const Bytes file = ManyZonesPatch();
  const std::string patch = folder.Write("Patch_Many.ptc", file);
  QuietUi ui;
  std::size_t peak = 0;
  for (auto _ : state) {
    PatchRecord record;
    const std::size_t before = BytesInUse();
    ResetPeakBytes();
    const auto start = std::chrono::steady_clock::now();
    const bool loaded = listing ? BuildCatalogue(folder.path(), "", record, ui).size() == 1
                                : LoadPatch(patch, record, ui);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    peak = std::max(peak, PeakBytesInUse() - before);
    if (!loaded) {
      state.SkipWithError(("the patch did not load: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  const double size = static_cast<double>(file.size());
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["ratio"] = static_cast<double>(peak) / size;
  state.counters["target"] = 2;
}

void BM_LoadManyZonesPeakMemory(benchmark::State& state) {
  PeakMemoryOf(state, false);
}
BENCHMARK(BM_LoadManyZonesPeakMemory)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void BM_ListManyZonesPeakMemory(benchmark::State& state) {
  PeakMemoryOf(state, true);
}
BENCHMARK(BM_ListManyZonesPeakMemory)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
