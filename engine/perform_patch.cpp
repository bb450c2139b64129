#include "engine/perform_patch.h"

#include "engine/general_failure.h"
#include "engine/patch_argument.h"
#include "engine/silent_ui.h"
#include "engine/zone_pipeline.h"
#include "patchfile/load_patch.h"
#include "support/files.h"
#include "support/paths.h"

namespace varnock {

namespace {

ResultCode Perform(const std::string& patchPath, const std::string& exePath, bool removing,
                   std::string& exeVersion, PatchRecord& record, UserInterface& ui,
                   const RewriteHooks* hooks, OperationHistory* history) {
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
  ByteRuns found;
  if (history != nullptr) {
    KeepZoneBytes(image, record, found);
  }
  const ResultCode applied = ApplyZones(image, record, removing);
  if (applied != ResultDone || !WritesAnyZone(record)) {
    return applied;  // nothing to write: the file is left as it is
  }
  std::vector<PatchNote> patches;
  if (history != nullptr) {
    SilentUi quiet;
    const bool named = GetFileName(patchPath).find('#') != std::string::npos;
    patches.push_back(NotePatch(
        patchPath, named ? std::optional(GetPatchArgument(patchPath, quiet)) : std::nullopt));
  }
  return RewriteExecutable(exe, exePath, found, image, history, removing ? "remove" : "apply",
                           std::move(patches), ui, hooks)
             ? ResultDone
             : ResultFailed;
}

}  // namespace

ResultCode PerformPatch(const std::string& patchPath, const std::string& exePath, bool removing,
                        std::string& exeVersion, PatchRecord& record, UserInterface& ui,
                        const RewriteHooks* hooks, OperationHistory* history) {
  return ReportingFailures(ui, [&] {
    return Perform(patchPath, exePath, removing, exeVersion, record, ui, hooks, history);
  });
}

}  // namespace varnock
