#include "bench/paired_timing.h"

#include <algorithm>

namespace varnock::bench {

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

void PairedTiming::Report(benchmark::State& state, double floorWork, double jobWork) const {
  // Medians rather than sums: one iteration pre-empted by another process does not move them.
  const double floor = Median(floors_);
  const double job = Median(jobs_);
  state.counters["ratio"] = floor > 0 ? (job / jobWork) / (floor / floorWork) : 0;
  state.counters["target"] = target_;
  state.counters["floor_us"] = floor * 1e6;
  state.counters["job_us"] = job * 1e6;
}

}  // namespace varnock::bench
