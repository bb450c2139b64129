#include "engine/dry_run.h"

#include "engine/zone_pipeline.h"
#include "patchfile/load_patch.h"

namespace varnock {

namespace {

// The dry run but for the image its zone reports read, which the caller hands it.
DryRun Judge(const std::string& patchPath, PatchRecord record, const ExeRead& exe, bool removing,
             const std::optional<std::string>& argument, UserInterface& ui) {
  const std::string& exePath = exe.path;
  const Bytes& image = exe.image;
  // The operation's own steps first, so that what they would tell the user is told. The
  // record is copied only for a patch that takes an argument, to read another value back.
  DryRun run;
  const PatchRecord loaded = record.Has(HasArgument) ? record : PatchRecord{};
  if (!VersionAccepted(exePath, record, exe.version, ui) ||
      !InsertArgument(patchPath, argument, record, ui)) {
    run.status = StatusOfPatch(patchPath, argument, record.Has(HasArgument) ? loaded : record, exe);
    return run;
  }
  run.trial = TryZones(image, record, removing);
  run.would = run.trial.result;
  run.status = StatusOfPrepared(patchPath, loaded, record, image, exePath, ZoneDetail::StateOnly);
  // The zones are the operation's: its argument, its placement, its bytes. A value read back
  // from the executable is the status's alone.
  run.status.placed = run.trial.placed;
  run.status.shift = run.trial.shift;
  run.status.reason = Unplaced(record, run.trial);
  run.operation = std::move(record);
  return run;
}

}  // namespace

DryRun CheckOperation(const std::string& patchPath, PatchRecord record, const ExeRead& exe,
                      bool removing, const std::optional<std::string>& argument,
                      UserInterface& ui) {
  DryRun run = Judge(patchPath, std::move(record), exe, removing, argument, ui);
  if (run.ZoneCount() > 0) {
    run.image = exe.image;
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
  run = Judge(patchPath, std::move(record), {exePath, image, exeVersion}, removing, argument, ui);
  if (run.ZoneCount() > 0) {
    run.image = std::move(image);  // the executable is held once
  }
  return run;
}

}  // namespace varnock
