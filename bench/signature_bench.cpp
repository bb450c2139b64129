#include <benchmark/benchmark.h>

#include "bench/floors.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "target/exe_version.h"

namespace varnock::bench {

namespace {

// The engine with filler after it up to `size` bytes (its own size when that is larger).
Bytes EngineOfSize(std::size_t size) {
  Bytes image = MakeEngineImage();
  if (size > image.size()) {
    const Bytes tail = LargeFiller(size - image.size(), 23);
    image.insert(image.end(), tail.begin(), tail.end());
  }
  return image;
}

// The version signature of an engine of the benchmark's size against reading the file once.
// Every probe is found where a standard build has it, so the signature reads as the standard
// one with the size piece.
void BM_VersionSignature(benchmark::State& state) {
  const ScratchFolder folder;
  const std::string path =
      folder.Write("tomb4.exe", EngineOfSize(static_cast<std::size_t>(state.range(0))));
  QuietUi ui;
  PairedTiming timing(1.3);
  for (auto _ : state) {
    timing.Floor([&] { benchmark::DoNotOptimize(ReadOnce(path).size()); });
    std::string signature;
    timing.Job(state, [&] { signature = GetExeVersion(path, ui); });
    if (signature.rfind("LE_UK_P:XP", 0) != 0 || !ui.FirstMessage().empty()) {
      state.SkipWithError(("unexpected signature " + signature + " " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_VersionSignature)->Arg(kMegabyte)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VersionSignature)
    ->Arg(64 * kMegabyte)
    ->Iterations(15)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VersionSignature)
    ->Arg(512 * kMegabyte)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
