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

// The most memory an apply to a 1 MB executable holds at once, against the file's size. The
// goal is the file's size plus 1 MB; the counters give the peak in bytes and as a multiple of
// the file's size.
void BM_ApplyPeakMemory(benchmark::State& state) {
  const ScratchFolder folder;
  const Bytes image = CodeLikeFiller(kExecutableSize, 17);
  const std::string exe = folder.Write("tomb4.exe", image);
  const std::int32_t offsets[3] = {0x400, 0x80000, 0xFFF00};
  const std::string patch =
      folder.Write("Patch_Memory.ptc", WritePatch(MakePatch(image, offsets, 64, 0, "")));
  QuietUi ui;
  std::size_t peak = 0;
  for (auto _ : state) {
    std::string version;
    PatchRecord record;
    const std::size_t before = BytesInUse();
    ResetPeakBytes();
    const auto start = std::chrono::steady_clock::now();
    const ResultCode applied = PerformPatch(patch, exe, false, version, record, ui);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    peak = std::max(peak, PeakBytesInUse() - before);
    if (applied != ResultDone ||
        PerformPatch(patch, exe, true, version, record, ui) != ResultDone) {
      state.SkipWithError(("the patch did not go on and off: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  const double size = static_cast<double>(kExecutableSize);
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["ratio"] = static_cast<double>(peak) / size;
  state.counters["target"] = (size + (1 << 20)) / size;
}
BENCHMARK(BM_ApplyPeakMemory)->UseManualTime()->Iterations(5)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace varnock::bench
