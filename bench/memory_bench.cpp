#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "bench/allocation_counter.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "engine/perform_patch.h"
#include "patchfile/patch_writer.h"

namespace varnock::bench {

namespace {

// The most memory an apply holds at once, against the size of the executable of the
// benchmark's size. The goal is the file's size plus 1 MB; the counters give the peak in bytes
// and as a multiple of the file's size.
void BM_ApplyPeakMemory(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  const ScratchFolder folder;
  std::string exe;
  std::string patch;
  {
    const Bytes image = LargeFiller(size, 17);
    exe = folder.Write("tomb4.exe", image);
    const std::int32_t offsets[3] = {0x400, static_cast<std::int32_t>(size / 2),
                                     static_cast<std::int32_t>(size - 0x100)};
    patch = folder.Write("Patch_Memory.ptc", WritePatch(MakePatch(image, offsets, 64, 0, "")));
  }
  QuietUi ui;
  std::size_t peak = 0;
  for (auto _ : state) {
    std::string version;
    PatchRecord record;
    const std::size_t before = BytesInUse();
    ResetPeakBytes();
    const auto start = std::chrono::steady_clock::now();
    const ResultCode applied = PerformPatch(patch, exe, false, version, record, {.ui = ui});
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    peak = std::max(peak, PeakBytesInUse() - before);
    if (applied != ResultDone ||
        PerformPatch(patch, exe, true, version, record, {.ui = ui}) != ResultDone) {
      state.SkipWithError(("the patch did not go on and off: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  const double bytes = static_cast<double>(size);
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["ratio"] = static_cast<double>(peak) / bytes;
  state.counters["target"] = (bytes + kMegabyte) / bytes;
}
BENCHMARK(BM_ApplyPeakMemory)
    ->Arg(kMegabyte)
    ->Arg(64 * kMegabyte)
    ->Arg(512 * kMegabyte)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
