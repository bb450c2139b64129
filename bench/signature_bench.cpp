#include <benchmark/benchmark.h>

#include "bench/floors.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "target/exe_version.h"

namespace varnock::bench {

namespace {

// The version signature of the engine against reading the file once and scanning it once.
void BM_VersionSignature(benchmark::State& state) {
  const ScratchFolder folder;
  const Bytes engine = MakeEngineImage();
  const std::string path = folder.Write("tomb4.exe", engine);
  const std::string absent = AbsentPattern(engine, 16);
  QuietUi ui;
  PairedTiming timing(2.0);
  for (auto _ : state) {
    timing.Floor([&] { benchmark::DoNotOptimize(ScanOnce(ReadOnce(path), absent)); });
    std::string signature;
    timing.Job(state, [&] { signature = GetExeVersion(path, ui); });
    if (signature != kEngineVersion) {
      state.SkipWithError(("unexpected signature " + signature + " " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_VersionSignature)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace varnock::bench
