#include "engine/dry_run.h"

#include "engine/zone_pipeline.h"
#include "patchfile/load_patch.h"

namespace varnock {

DryRun CheckOperation(const std::string& patchPath, PatchRecord record, const Bytes& image,
                      const std::string& exePath, bool removing,
                      const std::optional<std::string>& argument, std::string& exeVersion,
                      UserInterface& ui) {
  // The operation's own steps first, so that what they would tell the user is told.
  DryRun run;
  PatchRecord operation = record;
  const bool prepared = VersionAccepted(exePath, operation, exeVersion, ui) &&
                        InsertArgument(patchPath, argument, operation, ui);
  const Trial trial = prepared ? TryZones(image, operation, removing) : Trial{};
  run.would = trial.result;
  run.status = StatusOfPatch(patchPath, argument, std::move(record), image, exePath, exeVersion);
  if (prepared) {
    // The zone table is the operation's: its argument, its placement, its bytes. A value read
    // back from the executable is the status's alone.
    run.status.zones = ZoneTable(operation, image, trial);
    run.status.placed = trial.placed;
    run.status.shift = trial.shift;
    run.status.reason = Unplaced(operation, trial);
  }
  return run;
}

DryRun CheckOperation(const std::string& patchPath, const std::string& exePath, bool removing,
                      const std::optional<std::string>& argument, UserInterface& ui) {
  DryRun run;
  PatchRecord record;
  Bytes image;
  if (!LoadPatch(patchPath, record, ui)) {
    run.status.reason = "the patch does not load";
    return run;
  }
  if (!ReadExecutableImage(exePath, image, ui)) {
    run.status.state = PatchState::DoesNotFit;
    return run;
  }
  std::string exeVersion;
  return CheckOperation(patchPath, std::move(record), image, exePath, removing, argument,
                        exeVersion, ui);
}

}  // namespace varnock
