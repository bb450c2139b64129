#include "engine/zone_pipeline.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "engine/apply_zone.h"
#include "engine/dynamic_search.h"
#include "engine/general_failure.h"
#include "engine/patch_argument.h"
#include "engine/zone_at.h"
#include "history/history_view.h"
#include "history/recorded_rewrite.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/shared_read.h"
#include "support/translation.h"
#include "target/exe_version.h"

namespace varnock {

bool VersionAccepted(const std::string& exePath, const PatchRecord& record, std::string& exeVersion,
                     UserInterface& ui) {
  if (!record.Has(SameExeVersionOnly)) {
    return true;
  }
  if (exeVersion.empty()) {
    exeVersion = GetExeVersion(exePath, ui);
  }
  return exeVersion != kFailedExeVersion && EqualsIgnoreCase(exeVersion, record.ExeVersion);
}

namespace {

bool NotEmpty(const std::string& exePath, const Bytes& image, UserInterface& ui) {
  if (image.empty()) {
    ShowGeneralFailure(ui, TrFormat("the executable file is empty: %1", {exePath}));
    return false;
  }
  return true;
}

}  // namespace

void TellInterruptedWrite(const InterruptedWrite& found, UserInterface& ui) {
  if (!found.notice.empty()) {
    ui.ShowMessage(found.notice, found.refused ? MessageIcon::Critical : MessageIcon::None);
  }
}

bool RestoreExecutable(const std::string& exePath, UserInterface& ui) {
  InterruptedWrite found;
  std::string error;
  if (!RestoreInterruptedWrite(exePath, found, error)) {
    ShowGeneralFailure(ui, error);
    return false;
  }
  TellInterruptedWrite(found, ui);
  return true;
}

bool ReadExecutableImage(const std::string& exePath, LockedFile& exe, Bytes& image,
                         UserInterface& ui) {
  std::string error;
  const bool opened = exe.Open(exePath, error);
  TellInterruptedWrite(exe.Interrupted(), ui);
  if (!opened || !exe.Read(image, error)) {
    ShowGeneralFailure(ui, error);
    return false;
  }
  return NotEmpty(exePath, image, ui);
}

void KeepZoneBytes(const Bytes& image, const PatchRecord& record, ByteRuns& found) {
  const auto size = static_cast<std::int64_t>(image.size());
  for (std::size_t i = FirstWrittenZone(record); i < record.Zones.size(); ++i) {
    const ZoneView zone = record.Zones.View(i);
    const std::int64_t start = std::clamp<std::int64_t>(zone.Offset, 0, size);
    const std::int64_t end =
        std::clamp<std::int64_t>(std::int64_t{zone.Offset} + zone.Length, start, size);
    if (start < end) {
      KeepFirstValues(found, {static_cast<std::uint64_t>(start),
                              Bytes(image.begin() + start, image.begin() + end),
                              {}});
    }
  }
}

bool RewriteExecutable(LockedFile& exe, const std::string& exePath, const Bytes& image,
                       RecordedChange change, const OperationContext& context) {
  std::string error;
  const bool written =
      context.history != nullptr
          ? RecordedRewrite(exe, exePath, image, *context.history, std::move(change), error)
          : exe.Rewrite(image, error);
  if (!written) {
    ShowGeneralFailure(context.ui, error);
  }
  return written;
}

bool ReadExecutableImage(const std::string& exePath, Bytes& image, UserInterface& ui) {
  std::string error;
  if (!RestoreExecutable(exePath, ui)) {
    return false;
  }
  if (!ReadFileShared(exePath, image, error)) {
    ShowGeneralFailure(ui, error);
    return false;
  }
  return NotEmpty(exePath, image, ui);
}

bool InsertArgument(const std::string& patchPath, const std::optional<std::string>& argument,
                    PatchRecord& record, UserInterface& ui) {
  if (!record.Has(HasArgument)) {
    return true;
  }
  ArgumentFailure failure;
  const bool inserted = argument ? InsertArgumentText(patchPath, *argument, record, ui, failure)
                                 : InsertPatchArgument(patchPath, record, ui, failure);
  if (!inserted && failure.general) {
    ShowGeneralFailure(ui, failure.description);
  }
  return inserted;
}

ResultCode PrepareZones(const std::string& patchPath, const std::optional<std::string>& argument,
                        const Bytes& image, PatchRecord& record, bool removing, UserInterface& ui) {
  if (!InsertArgument(patchPath, argument, record, ui)) {
    return ResultFailed;
  }
  return record.Has(Dynamic) ? PlaceDynamicPatch(image, record, removing) : ResultDone;
}

std::size_t FirstWrittenZone(const PatchRecord& record) {
  return record.Has(RecordAlignment) ? 1 : 0;
}

bool WritesAnyZone(const PatchRecord& record) {
  return record.Zones.size() > FirstWrittenZone(record);
}

namespace {

// ApplyZones on the zones moved by `shift`, seen in place.
ResultCode ApplyMovedZones(Bytes& image, const PatchRecord& record, bool removing,
                           std::int32_t shift, std::size_t* failedZone) {
  for (std::size_t i = FirstWrittenZone(record); i < record.Zones.size(); ++i) {
    ZoneView zone = record.Zones.View(i);
    zone.Offset += shift;
    const ResultCode result = ApplyZone(image, zone, removing, false, record.Has(DontVerifySource));
    if (result != ResultDone) {
      if (failedZone != nullptr) {
        *failedZone = i;
      }
      return result;
    }
  }
  return ResultDone;
}

// The written zones' indices in rising order of offset and length, 4 bytes a zone. A patch loads
// with at most 2^31 zones.
std::vector<std::uint32_t> ZonesByOffset(const PatchRecord& record) {
  std::vector<std::uint32_t> order;
  order.reserve(record.Zones.size() - FirstWrittenZone(record));
  for (std::size_t i = FirstWrittenZone(record); i < record.Zones.size(); ++i) {
    order.push_back(static_cast<std::uint32_t>(i));
  }
  const auto run = [&](std::uint32_t index) {
    const ZoneView zone = record.Zones.View(index);
    return std::pair(zone.Offset, zone.Length);
  };
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return run(a) < run(b); });
  return order;
}

// True when no two written zones share a byte: each is then verified against the image as it
// was read, which is what the zones before it leave there. Zones in rising order, the common
// case, are seen in one pass; the others are sorted first.
bool ZonesApart(const PatchRecord& record) {
  std::int64_t end = std::numeric_limits<std::int64_t>::min();
  std::int32_t last = std::numeric_limits<std::int32_t>::min();
  const auto apart = [&](const ZoneView& zone) {
    const bool overlaps = zone.Offset < end;
    end = std::max(end, std::int64_t{zone.Offset} + std::max(zone.Length, 0));
    return !overlaps;
  };
  std::size_t i = FirstWrittenZone(record);
  for (; i < record.Zones.size() && record.Zones.View(i).Offset >= last; ++i) {
    last = record.Zones.View(i).Offset;
    if (!apart(record.Zones.View(i))) {
      return false;
    }
  }
  if (i == record.Zones.size()) {
    return true;
  }
  end = std::numeric_limits<std::int64_t>::min();
  for (const std::uint32_t index : ZonesByOffset(record)) {
    if (!apart(record.Zones.View(index))) {
      return false;
    }
  }
  return true;
}

}  // namespace

ResultCode ApplyZones(Bytes& image, const PatchRecord& record, bool removing,
                      std::size_t* failedZone) {
  return ApplyMovedZones(image, record, removing, 0, failedZone);
}

ResultCode VerifyZones(const Bytes& image, const PatchRecord& record, bool removing,
                       std::int32_t shift, std::size_t* failedZone) {
  if (!ZonesApart(record)) {
    Bytes copy = image;
    return ApplyMovedZones(copy, record, removing, shift, failedZone);
  }
  for (std::size_t i = FirstWrittenZone(record); i < record.Zones.size(); ++i) {
    const ZoneView zone = record.Zones.View(i);
    const ResultCode result = CheckZoneAt(image, std::int64_t{zone.Offset} + shift, zone, removing,
                                          record.Has(DontVerifySource));
    if (result != ResultDone) {
      if (failedZone != nullptr) {
        *failedZone = i;
      }
      return result;
    }
  }
  return ResultDone;
}

Trial TryZones(const Bytes& image, const PatchRecord& record, bool removing) {
  Trial trial;
  if (record.Has(Dynamic)) {
    trial.result = FindPatchShift(image, record, removing, trial.shift);
    trial.placed = trial.result != ResultFailed;
    if (trial.result != ResultDone) {
      trial.zone = record.Zones.empty() ? 0 : ReferenceZoneIndex(record);
      return trial;
    }
  }
  trial.result = VerifyZones(image, record, removing, trial.shift, &trial.zone);
  return trial;
}

}  // namespace varnock
