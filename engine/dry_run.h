#pragma once

#include <optional>
#include <string>

#include "engine/patch_status.h"
#include "engine/result_code.h"
#include "engine/zone_pipeline.h"
#include "ui/user_interface.h"

namespace varnock {

// What an apply or remove would do, without doing it.
struct DryRun {
  // The patch's status. Its zones are not kept: a patch of millions of zones would need
  // hundreds of bytes for each. Zone(i) makes the report of each, from the operation.
  PatchStatus status;
  ResultCode would = ResultFailed;  // the engine's result had it run
  // The operation that would run: the patch with the argument given (or the file name's)
  // written in, placed by `trial` on `image`. No zones when it stops before any is looked at.
  PatchRecord operation;
  Trial trial;
  Bytes image;

  std::size_t ZoneCount() const { return operation.Zones.size(); }
  // Where zone `index` of the operation lies and what it holds.
  ZoneReport Zone(std::size_t index) const { return ZoneReportAt(operation, image, trial, index); }
};

// Runs the engine's steps on the executable's image in memory: the patch is loaded, the
// version checked, the argument (`argument`, or the value the file name carries) written in,
// a dynamic patch placed and every zone verified and changed in a copy of the image. Nothing
// is written and no temporary copy is made; what the operation would tell the user on the
// way (a patch that does not load, a bad argument) is told through `ui`.
DryRun CheckOperation(const std::string& patchPath, const std::string& exePath, bool removing,
                      const std::optional<std::string>& argument, UserInterface& ui);
// The same for the patch loaded from `patchPath` as `record` and the executable as read.
DryRun CheckOperation(const std::string& patchPath, PatchRecord record, const ExeRead& exe,
                      bool removing, const std::optional<std::string>& argument, UserInterface& ui);

}  // namespace varnock
