#include "engine/dry_run.h"

#include "engine/general_failure.h"
#include "engine/zone_pipeline.h"
#include "patchfile/load_patch.h"

namespace varnock {

namespace {

ResultCode WouldDo(const std::string& patchPath, const std::string& exePath, bool removing,
                   const std::optional<std::string>& argument, PatchRecord record, Bytes image,
                   std::string& exeVersion, UserInterface& ui) {
  if (!VersionAccepted(exePath, record, exeVersion, ui)) {
    return ResultFailed;
  }
  const ResultCode prepared = PrepareZones(patchPath, argument, image, record, removing, ui);
  return prepared == ResultDone ? ApplyZones(image, record, removing) : prepared;
}

}  // namespace

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
  run.would = WouldDo(patchPath, exePath, removing, argument, record, image, exeVersion, ui);
  run.status = StatusOfPatch(patchPath, argument, std::move(record), image, exePath, exeVersion);
  return run;
}

}  // namespace varnock
