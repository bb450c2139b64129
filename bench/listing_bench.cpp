#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/main_presenter.h"
#include "bench/floors.h"
#include "bench/listing_view.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "bench/scratch_folder.h"
#include "bench/synthetic_images.h"
#include "patchfile/patch_writer.h"
#include "support/paths.h"

namespace varnock::bench {

namespace {

constexpr int kPatchCount = 2000;

// The signature a patch was made from: a third made for the chosen engine, a third for
// another build of the same edition, a third for another program.
std::string MadeFrom(int index) {
  switch (index % 3) {
    case 0:
      return kEngineVersion;
    case 1:
      return "LE_UK_B:30_Standard (2-Feb-2001  10:15)";
    default:
      return "TP_Standard (16-Oct-2000  10:37)";
  }
}

// 2,000 patch files of about 550 bytes, as the ones carried by the program, in one folder;
// the engine they are ranked for lies in another.
struct ListingScene {
  ScratchFolder patches;
  ScratchFolder engineFolder;
  std::vector<std::string> paths;
  std::string engine;

  ListingScene() {
    const Bytes image = MakeEngineImage();
    engine = engineFolder.Write("tomb4.exe", image);
    const std::string description(170, 'd');
    for (int i = 0; i < kPatchCount; ++i) {
      const std::int32_t offsets[3] = {0x1000 + i, 0x2000 + i, 0x3000 + i};
      PatchRecord record = MakePatch(image, offsets, 8, 0, MadeFrom(i));
      record.Description = "Patch " + std::to_string(i) + ": " + description;
      char name[32];
      std::snprintf(name, sizeof name, "Patch_%04d.ptc", i);
      paths.push_back(patches.Write(name, WritePatch(record)));
    }
  }
};

std::size_t ReadAll(const std::vector<std::string>& paths) {
  std::size_t bytes = 0;
  for (const std::string& path : paths) {
    bytes += ReadOnce(path).size();
  }
  return bytes;
}

// Choosing the folder of 2,000 patches once an engine is chosen: every file listed, loaded and
// ranked, the list sorted and the first patch chosen; against reading every file once.
void BM_ListAndRank2000Patches(benchmark::State& state) {
  const ListingScene scene;
  ListingView view;
  QuietUi ui;
  AppEnvironment environment;
  environment.ownExecutablePath = JoinPath(scene.patches.path(), "varnock");
  environment.findInstalledProgram = [](const std::string&) { return std::string(); };
  environment.currentFolder = [&] { return scene.patches.path(); };
  MainPresenter presenter(view, ui, environment);
  view.AnswerPicker(scene.engine);
  const bool started = presenter.Load();
  if (started) {
    presenter.ChangeTargetClicked();  // the engine is chosen, so the patches rank against it
  }
  if (!started || presenter.Caption(MainLabel::TombVersionNow) != kEngineVersion) {
    state.SkipWithError(("the presenter did not start: " + ui.FirstMessage()).c_str());
    return;
  }
  view.AnswerPicker(scene.patches.path());
  PairedTiming timing(2.0);
  for (auto _ : state) {
    timing.Floor([&] { benchmark::DoNotOptimize(ReadAll(scene.paths)); });
    timing.Job(state, [&] { presenter.ChangePatchFolderClicked(); });
    if (view.Items().size() != kPatchCount || view.Items().front() != "Patch_0000.ptc" ||
        !ui.FirstMessage().empty()) {
      state.SkipWithError(("the catalogue is not as expected: " + ui.FirstMessage()).c_str());
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_ListAndRank2000Patches)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench
