#include "engine/perform_patch.h"

#include <exception>
#include <new>

#include "engine/apply_zone.h"
#include "engine/dynamic_search.h"
#include "engine/general_failure.h"
#include "engine/patch_argument.h"
#include "patchfile/load_patch.h"
#include "support/paths.h"
#include "target/exe_version.h"

namespace varnock {

namespace {

// A patch bound to one build is refused, without a message, for any other build; a signature
// that could not be computed ("ERROR") never matches.
bool VersionAccepted(const std::string& exePath, const PatchRecord& record, std::string& exeVersion,
                     UserInterface& ui) {
  if (!record.Has(SameExeVersionOnly)) {
    return true;
  }
  if (exeVersion.empty()) {
    exeVersion = GetExeVersion(exePath, ui);
  }
  return exeVersion != "ERROR" && EqualsIgnoreCase(exeVersion, record.ExeVersion);
}

// The executable is held from before the read to after the rewrite: no other writer can come
// between them.
bool ReadImage(const std::string& exePath, LockedFile& exe, Bytes& image, UserInterface& ui,
               const RewriteHooks* hooks) {
  std::string error;
  if (!exe.Open(exePath, error, hooks) || !exe.Read(image, error)) {
    ShowGeneralFailure(ui, error);
    return false;
  }
  if (image.empty()) {
    ShowGeneralFailure(ui, "the executable file is empty: " + exePath);
    return false;
  }
  return true;
}

// Every zone is verified and changed in the image only; the first one that does not succeed
// decides the result and the image is then dropped.
ResultCode ApplyZones(Bytes& image, const PatchRecord& record, bool removing) {
  const std::size_t first = record.Has(RecordAlignment) ? 1 : 0;
  for (std::size_t i = first; i < record.Zones.size(); ++i) {
    const ResultCode result =
        ApplyZone(image, record.Zones.View(i), removing, false, record.Has(DontVerifySource));
    if (result != ResultDone) {
      return result;
    }
  }
  return ResultDone;
}

bool WritesAnyZone(const PatchRecord& record) {
  return record.Zones.size() > (record.Has(RecordAlignment) ? 1U : 0U);
}

ResultCode Perform(const std::string& patchPath, const std::string& exePath, bool removing,
                   std::string& exeVersion, PatchRecord& record, UserInterface& ui,
                   const RewriteHooks* hooks) {
  if (!LoadPatch(patchPath, record, ui) || !VersionAccepted(exePath, record, exeVersion, ui)) {
    return ResultFailed;
  }
  LockedFile exe;
  Bytes image;
  if (!ReadImage(exePath, exe, image, ui, hooks)) {
    return ResultFailed;
  }
  if (record.Has(HasArgument)) {
    ArgumentFailure failure;
    if (!InsertPatchArgument(patchPath, record, ui, failure)) {
      if (failure.general) {
        ShowGeneralFailure(ui, failure.description);
      }
      return ResultFailed;
    }
  }
  if (record.Has(Dynamic)) {
    const ResultCode placed = PlaceDynamicPatch(image, record, removing);
    if (placed != ResultDone) {
      return placed;
    }
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
  try {
    return Perform(patchPath, exePath, removing, exeVersion, record, ui, hooks);
  } catch (const std::bad_alloc&) {
    ShowGeneralFailure(ui, "not enough memory");
  } catch (const std::exception& error) {
    ShowGeneralFailure(ui, error.what());
  }
  return ResultFailed;
}

}  // namespace varnock
