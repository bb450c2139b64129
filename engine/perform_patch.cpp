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
                   std::string& exeVersion, PatchRecord& record, const OperationContext& context) {
  UserInterface& ui = context.ui;
  const bool recording = context.history != nullptr;
  if (!LoadPatch(patchPath, record, ui) || !VersionAccepted(exePath, record, exeVersion, ui)) {
    return ResultFailed;
  }
  LockedFile exe(context.faults);
  Bytes image;
  if (!ReadExecutableImage(exePath, exe, image, ui)) {
    return ResultFailed;
  }
  const ResultCode prepared = PrepareZones(patchPath, std::nullopt, image, record, removing, ui);
  if (prepared != ResultDone) {
    return prepared;
  }
  ByteRuns found;
  if (recording) {
    KeepZoneBytes(image, record, found);
  }
  const ResultCode applied = ApplyZones(image, record, removing);
  if (applied != ResultDone || !WritesAnyZone(record)) {
    return applied;  // nothing to write: the file is left as it is
  }
  RecordedChange change{.kind = removing ? "remove" : "apply"};
  if (recording) {
    SilentUi quiet;
    const bool named = GetFileName(patchPath).find('#') != std::string::npos;
    change.ranges = ChangedRanges(found, image);
    change.patches.push_back(NotePatch(
        patchPath, named ? std::optional(GetPatchArgument(patchPath, quiet)) : std::nullopt));
  }
  return RewriteExecutable(exe, exePath, image, std::move(change), context) ? ResultDone
                                                                            : ResultFailed;
}

}  // namespace

ResultCode PerformPatch(const std::string& patchPath, const std::string& exePath, bool removing,
                        std::string& exeVersion, PatchRecord& record,
                        const OperationContext& context) {
  return ReportingFailures(context.ui, [&] {
    return Perform(patchPath, exePath, removing, exeVersion, record, context);
  });
}

}  // namespace varnock
