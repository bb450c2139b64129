#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace varnock::bench {

// Times a job and its floor (the least any way of doing the job must spend: reading its input
// and writing its output) side by side, one of each per benchmark iteration, so that a busy
// machine slows both alike. The benchmark's own time is the job's (manual time); the counters
// give the ratio of the two medians and the goal it is held to.
class PairedTiming {
 public:
  explicit PairedTiming(double target) : target_(target) {}

  template <typename Work>
  void Floor(Work&& work) {
    floors_.push_back(Time(work));
  }

  // Times the job and makes its time the iteration's time.
  template <typename Work>
  void Job(benchmark::State& state, Work&& work) {
    const double seconds = Time(work);
    jobs_.push_back(seconds);
    state.SetIterationTime(seconds);
  }

  // Sets the counters "ratio", "target", "floor_us" and "job_us". When the job does more work
  // than its floor, the ratio compares the two per unit of work: `jobWork` units for the job
  // against `floorWork` for the floor.
  void Report(benchmark::State& state, double floorWork = 1, double jobWork = 1) const;

 private:
  template <typename Work>
  static double Time(Work& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(end - start).count();
  }

  double target_;
  std::vector<double> floors_;
  std::vector<double> jobs_;
};

// Median of the values (0 when there are none).
double Median(std::vector<double> values);

}  // namespace varnock::bench
