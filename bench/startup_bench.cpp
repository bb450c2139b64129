// The window's start-up, timed on the program itself; built when the window is.
#ifdef VARNOCK_WINDOW_PROGRAM

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/listing_scene.h"
#include "bench/paired_timing.h"
#include "bench/quiet_ui.h"
#include "engine/catalogue.h"

extern char** environ;

namespace varnock::bench {

namespace {

namespace fs = std::filesystem;

// The program with its bundle, copied into the folder of 2,000 patches, as a user would
// unpack it beside them.
struct StartupScene {
  ListingScene listing{kSmallFolder};
  std::string program;
  std::vector<std::string> environment;

  StartupScene() {
    program = listing.patches.path() + "/varnock";
    fs::copy_file(VARNOCK_WINDOW_PROGRAM, program, fs::copy_options::overwrite_existing);
    const fs::path runtime = fs::path(listing.engineFolder.path()) / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    for (char** variable = environ; *variable != nullptr; ++variable) {
      environment.emplace_back(*variable);
    }
    environment.emplace_back("QT_QPA_PLATFORM=offscreen");
    environment.emplace_back("VARNOCK_CLOSE_WHEN_SHOWN=1");
    environment.emplace_back("XDG_RUNTIME_DIR=" + runtime.string());
  }

  // Starts the program and waits for it to end: it closes its window once shown. True when it
  // ended well.
  bool Run() const {
    std::vector<char*> variables;
    for (const std::string& variable : environment) {
      variables.push_back(const_cast<char*>(variable.c_str()));
    }
    variables.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* arguments[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, variables.data());
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
  }
};

// From the program's start to its window shown with the list of its 2,000 patches and its
// bundle filled (and closed again), against listing those patches in this process.
void BM_WindowStartup(benchmark::State& state) {
  const StartupScene scene;
  QuietUi ui;
  PatchRecord record;
  PairedTiming timing(4.0);
  for (auto _ : state) {
    std::vector<CatalogueEntry> entries;
    timing.Floor([&] { entries = BuildCatalogue(scene.listing.patches.path(), "", record, ui); });
    bool started = false;
    timing.Job(state, [&] { started = scene.Run(); });
    if (!started || entries.size() != kSmallFolder) {
      state.SkipWithError("the window did not start and close as expected");
      break;
    }
  }
  timing.Report(state);
}
BENCHMARK(BM_WindowStartup)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace varnock::bench

#endif
