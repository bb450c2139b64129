#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/patches_presenter.h"
#include "bench/folder_scene.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "engine/catalogue.h"
#include "target/exe_version.h"

namespace varnock::bench {

namespace {

// A Patches window that shows nothing; its thread waits for the presenter's wake-ups.
class WaitingView : public PatchesView {
 public:
  void ResetRows(std::size_t, int, bool) override {}
  void ShowHistory(const HistoryListing&) override {}
  void UpdateRows(std::size_t, std::size_t) override {}
  void SetDescription(const std::string&) override {}
  void SetProgress(const std::string&) override {}
  void SetApplyEnabled(bool) override {}
  void SetKeepHistory(bool) override {}
  void SetLanguages(const std::vector<std::string>&, std::size_t) override {}
  bool Confirm(const std::string&, const std::string&) override { return false; }
  std::string AskSetPath(SetFileDialog, const std::string&) override { return {}; }
  void WakeUp() override {
    const std::lock_guard lock(mutex_);
    ++wakeUps_;
    woken_.notify_all();
  }
  void CloseWindow() override {}

  int WakeUps() {
    const std::lock_guard lock(mutex_);
    return wakeUps_;
  }
  void WaitAfter(int seen) {
    std::unique_lock lock(mutex_);
    woken_.wait(lock, [&] { return wakeUps_ > seen; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  int wakeUps_ = 0;
};

// The names of the scene's patches in the main list's order.
std::vector<std::string> ListOrder(const FolderScene& scene, QuietUi& ui) {
  PatchRecord record;
  std::vector<std::string> names;
  for (CatalogueEntry& entry :
       BuildCatalogue(scene.patches.path(), GetExeVersion(scene.engine, ui), record, ui)) {
    names.push_back(std::move(entry.fileName));
  }
  return names;
}

// The window's thread from Open(): the first rows shown, then every status taken as the view
// is woken. The seconds to each.
struct WindowTimes {
  double firstRows = 0;
  double allStatuses = 0;
  bool complete = false;
};

// The view and the presenter of one window, kept until the times are taken.
struct OpenedWindow {
  WaitingView view;
  std::optional<PatchesPresenter> presenter;
};

WindowTimes OpenWindow(const FolderScene& scene, const std::vector<std::string>& names, QuietUi& ui,
                       OpenedWindow& window) {
  WindowTimes times;
  const auto start = std::chrono::steady_clock::now();
  const auto since = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  PatchesRequest request;
  request.folder = scene.patches.path();
  request.exePath = scene.engine;
  request.fileNames = names;
  PatchesPresenter& presenter = window.presenter.emplace(window.view, ui, std::move(request));
  presenter.Open();
  benchmark::DoNotOptimize(presenter.RowAt(presenter.VisibleCount() - 1));
  times.firstRows = since();
  for (;;) {
    const int seen = window.view.WakeUps();
    presenter.TakeResults();
    if (!presenter.Status().entries.empty()) {
      break;
    }
    window.view.WaitAfter(seen);
  }
  times.allStatuses = since();
  times.complete = presenter.Status().entries.size() == names.size();
  return times;
}

// The first rows of the Patches window, from Open() until the list can show them. The goal is
// 100 ms at any size: the ratio is the median time over it.
void BM_PatchesWindowFirstRows(benchmark::State& state) {
  const FolderScene scene(static_cast<int>(state.range(0)), false);
  QuietUi ui;
  const std::vector<std::string> names = ListOrder(scene, ui);
  std::vector<double> times;
  for (auto _ : state) {
    OpenedWindow opened;
    const WindowTimes window = OpenWindow(scene, names, ui, opened);
    state.SetIterationTime(window.firstRows);
    times.push_back(window.firstRows);
  }
  constexpr double kGoal = 0.100;
  state.counters["ratio"] = Median(times) / kGoal;
  state.counters["target"] = 1.0;
  state.counters["job_us"] = Median(times) * 1e6;
}
BENCHMARK(BM_PatchesWindowFirstRows)
    ->Arg(2'000)
    ->Arg(20'000)
    ->Arg(100'000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Every status shown in the Patches window, from Open() until the last results are taken,
// against the core's folder status alone.
void BM_PatchesWindowAllStatuses(benchmark::State& state) {
  const FolderScene scene(static_cast<int>(state.range(0)), false);
  QuietUi ui;
  const std::vector<std::string> names = ListOrder(scene, ui);
  PairedTiming timing(1.5);
  for (auto _ : state) {
    FolderStatus status;
    timing.Floor([&] { GetFolderStatus(scene.patches.path(), scene.engine, status, ui); });
    WindowTimes window;
    OpenedWindow opened;
    timing.Job(state, [&] { window = OpenWindow(scene, names, ui, opened); });
    if (!window.complete || !ui.FirstMessage().empty()) {
      state.SkipWithError(("the statuses are not as expected: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_PatchesWindowAllStatuses)
    ->Arg(2'000)
    ->Arg(20'000)
    ->Arg(100'000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
