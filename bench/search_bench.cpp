#include <benchmark/benchmark.h>

#include "bench/floors.h"
#include "bench/paired_timing.h"
#include "bench/synthetic_images.h"
#include "engine/dynamic_search.h"

namespace varnock::bench {

namespace {

constexpr std::int32_t kZoneLength = 16;

PatchZone ZoneOf(const Bytes& image, std::int32_t place, std::int32_t offset) {
  PatchZone zone;
  zone.Offset = offset;
  zone.Length = kZoneLength;
  zone.OriginalBytes.assign(image.begin() + place, image.begin() + place + kZoneLength);
  for (const std::uint8_t byte : zone.OriginalBytes) {
    zone.PatchBytes.push_back(static_cast<std::uint8_t>(byte ^ 0xA5));
  }
  return zone;
}

// A dynamic patch whose code moved by +112, the last shift the window search tries.
void BM_WindowSearchFarEnd(benchmark::State& state) {
  const Bytes image = CodeLikeFiller(kExecutableSize, 11);
  const std::int32_t recorded = 0x80000;
  const PatchZone zone = ZoneOf(image, recorded + 112, recorded);
  const std::string absent = AbsentPattern(image, kZoneLength);
  PairedTiming timing(3.0);
  for (auto _ : state) {
    timing.Floor([&] { benchmark::DoNotOptimize(ScanOnce(image, absent)); });
    std::int32_t shift = 0;
    ResultCode result = ResultNone;
    timing.Job(state, [&] { result = FindDynamicShift(image, zone, false, shift, false); });
    if (result != ResultDone || shift != 112) {
      state.SkipWithError("the window search did not find the zone at +112");
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_WindowSearchFarEnd)->UseManualTime()->Unit(benchmark::kMicrosecond);

// An alignment record whose bytes occur 1,000 times, spread over the image, recorded past the
// last of them: every occurrence is a candidate and the whole image is searched.
void BM_RecordAlignmentThousandTimes(benchmark::State& state) {
  Bytes image = CodeLikeFiller(kExecutableSize, 13);
  constexpr std::int32_t kOccurrences = 1000;
  constexpr std::int32_t kSpacing = static_cast<std::int32_t>(kExecutableSize / kOccurrences);
  const Bytes pattern(image.begin(), image.begin() + kZoneLength);
  for (std::int32_t i = 1; i < kOccurrences; ++i) {
    std::copy(pattern.begin(), pattern.end(), image.begin() + i * kSpacing);
  }
  const std::int32_t last = (kOccurrences - 1) * kSpacing;
  const std::int32_t recorded = static_cast<std::int32_t>(kExecutableSize) - kZoneLength;
  const PatchZone zone = ZoneOf(image, 0, recorded);
  const std::string absent = AbsentPattern(image, kZoneLength);
  PairedTiming timing(3.0);
  for (auto _ : state) {
    timing.Floor([&] { benchmark::DoNotOptimize(ScanOnce(image, absent)); });
    std::int32_t shift = 0;
    ResultCode result = ResultNone;
    timing.Job(state, [&] { result = FindDynamicShift(image, zone, false, shift, true); });
    if (result != ResultDone || shift != last - recorded) {
      state.SkipWithError("the alignment record was not placed at its nearest occurrence");
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_RecordAlignmentThousandTimes)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace varnock::bench
