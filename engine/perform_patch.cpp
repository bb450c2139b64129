#include "engine/perform_patch.h"

#include "engine/general_failure.h"
#include "engine/zone_pipeline.h"
#include "patchfile/load_patch.h"
#include "support/files.h"

namespace varnock {

namespace {

ResultCode Perform(const std::string& patchPath, const std::string& exePath, bool removing,
                   std::string& exeVersion, PatchRecord& record, UserInterface& ui,
                   const RewriteHooks* hooks) {
  if (!LoadPatch(patchPath, record, ui) || !VersionAccepted(exePath, record, exeVersion, ui)) {
    return ResultFailed;
  }
  LockedFile exe;
  Bytes image;
  if (!ReadExecutableImage(exePath, exe, image, ui, hooks)) {
    return ResultFailed;
  }
  const ResultCode prepared = PrepareZones(patchPath, std::nullopt, image, record, removing, ui);
  if (prepared != ResultDone) {
    return prepared;
  }
  const ResultCode applied = ApplyZones(image, record, removing);
  if (applied != ResultDone || !WritesAnyZone(record)) {
    return applied;  // nothing to write: the file is left as it is
  }
  std::string error;
  if (!exe.Rewrite(image, error, hooks)) {
    ShowGeneralFailure(ui, error);
    return ResultFailed;
  }
  return ResultDone;
}

}  // namespace

ResultCode PerformPatch(const std::string& patchPath, const std::string& exePath, bool removing,
                        std::string& exeVersion, PatchRecord& record, UserInterface& ui,
                        const RewriteHooks* hooks) {
  return ReportingFailures(
      ui, [&] { return Perform(patchPath, exePath, removing, exeVersion, record, ui, hooks); });
}

}  // namespace varnock
