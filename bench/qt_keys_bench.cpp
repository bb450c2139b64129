// The cost of a key in the Qt Patches window as the rows grow; built when the window is.
#ifdef VARNOCK_QT_BENCH

#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "bench/listing_scene.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "engine/catalogue.h"
#include "qt/design_controls.h"
#include "qt/patches_dialog.h"
#include "target/exe_version.h"

namespace varnock::bench {

namespace {

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The window opened over the scene's folder, its statuses computed, then `keys` keys pressed
// in its list (arrows, every tenth a Page Down), each handled and drawn before the next. The
// CPU time of the window's thread per key; none when the description shown at the end is not
// the selected row's.
std::optional<double> PerKey(const ListingScene& scene, int keys) {
  QuietUi ui;
  PatchesRequest request;
  request.folder = scene.patches.path();
  request.exePath = scene.engine;
  PatchRecord record;
  for (CatalogueEntry& entry :
       BuildCatalogue(scene.patches.path(), GetExeVersion(scene.engine, ui), record, ui)) {
    request.fileNames.push_back(std::move(entry.fileName));
  }
  qt::PatchesDialog dialog(request, nullptr);
  std::optional<double> perKey;
  QTimer::singleShot(0, &dialog, [&] {
    while (dialog.Presenter().Status().entries.empty()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    auto* table = qt::DesignControl<QTableView>(&dialog, "List_Patches");
    table->setFocus();
    table->setCurrentIndex(table->model()->index(0, 0));
    QCoreApplication::processEvents();
    const double start = ThreadCpuSeconds();
    for (int i = 0; i < keys; ++i) {
      const int key = i % 10 == 9 ? Qt::Key_PageDown : Qt::Key_Down;
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
      QApplication::sendEvent(table, &press);
      QApplication::sendEvent(table, &release);
      QCoreApplication::processEvents();
    }
    const double spent = ThreadCpuSeconds() - start;
    const FolderStatus& status = dialog.Presenter().Status();
    const QString name = table->model()->index(table->currentIndex().row(), 0).data().toString();
    const auto index = status.IndexOf(name.toStdString());
    const QString shown =
        qt::DesignControl<QPlainTextEdit>(&dialog, "Text_Description")->toPlainText();
    if (index && shown.toStdString() == status.entries[*index].description) {
      perKey = spent / keys;
    }
    dialog.reject();
  });
  dialog.Run();
  return perKey;
}

// The window's CPU time per key with `count` rows against the same with 2,000: flat when the
// ratio is near 1.
void BM_QtPatchesKeys(benchmark::State& state) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  int argc = 1;
  char name[] = "varnock_bench";
  char* argv[] = {name, nullptr};
  const QApplication application(argc, argv);
  const ListingScene small(kSmallFolder);
  const ListingScene large(static_cast<int>(state.range(0)));
  std::vector<double> floors;
  std::vector<double> jobs;
  for (auto _ : state) {
    const std::optional<double> floor = PerKey(small, 200);
    const std::optional<double> job = PerKey(large, 200);
    if (!floor || !job) {
      state.SkipWithError("the description did not follow the keys");
      break;
    }
    floors.push_back(*floor);
    jobs.push_back(*job);
    state.SetIterationTime(*job);
  }
  state.counters["ratio"] = Median(floors) > 0 ? Median(jobs) / Median(floors) : 0;
  state.counters["target"] = 1.2;
  state.counters["floor_us"] = Median(floors) * 1e6;
  state.counters["job_us"] = Median(jobs) * 1e6;
}
BENCHMARK(BM_QtPatchesKeys)
    ->Arg(20'000)
    ->Arg(100'000)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace varnock::bench

#endif
