#include "engine/patch_status.h"

#include "engine/argument_readback.h"
#include "engine/dynamic_search.h"
#include "engine/silent_ui.h"
#include "engine/zone_at.h"
#include "engine/zone_pipeline.h"
#include "patchfile/load_patch.h"
#include "support/files.h"
#include "support/paths.h"
#include "target/target_table.h"

namespace varnock {

namespace {

ZoneVerdict VerdictAt(const Bytes& image, const ZoneView& zone) {
  // Without verification the check only asks whether the zone lies inside the file.
  if (CheckZoneAt(image, zone.Offset, zone, false, true) != ResultDone) {
    return ZoneVerdict::Outside;
  }
  switch (CheckZoneAt(image, zone.Offset, zone, false, false)) {
    case ResultDone:
      return ZoneVerdict::Original;
    case ResultAlreadyDone:
      return ZoneVerdict::Patched;
    default:
      return ZoneVerdict::Other;
  }
}

// The zones are seen in place; their bytes are copied into the reports only when asked for.
std::vector<ZoneReport> ZoneReports(const PatchRecord& record, const Bytes& image,
                                    ZoneDetail detail) {
  std::vector<ZoneReport> reports;
  reports.reserve(record.Zones.size());
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    const ZoneView zone = record.Zones.View(i);
    ZoneReport report{i,
                      zone.Offset,
                      zone.Length,
                      {},
                      {},
                      {},
                      VerdictAt(image, zone),
                      i >= FirstWrittenZone(record)};
    if (detail == ZoneDetail::WithBytes) {
      report.original.assign(zone.OriginalBytes.begin(), zone.OriginalBytes.end());
      report.patched.assign(zone.PatchBytes.begin(), zone.PatchBytes.end());
      if (report.verdict != ZoneVerdict::Outside) {
        report.found.assign(image.begin() + zone.Offset, image.begin() + zone.Offset + zone.Length);
      }
    }
    reports.push_back(std::move(report));
  }
  return reports;
}

PatchState StateOf(const std::vector<ZoneReport>& zones) {
  bool original = false;
  bool patched = false;
  for (const ZoneReport& zone : zones) {
    if (!zone.written) {
      continue;
    }
    if (zone.verdict == ZoneVerdict::Other || zone.verdict == ZoneVerdict::Outside) {
      return PatchState::DoesNotFit;
    }
    (zone.verdict == ZoneVerdict::Patched ? patched : original) = true;
  }
  if (patched && original) {
    return PatchState::PartlyApplied;
  }
  return patched ? PatchState::Applied : PatchState::NotApplied;
}

bool ForOtherProgram(const PatchRecord& record, const std::string& exePath) {
  const auto exeProgram = TargetProgramName(GetFileName(exePath));
  const auto patchProgram = TargetProgramName(record.ExeName);
  return exeProgram && patchProgram && *exeProgram != *patchProgram;
}

PatchStatus Broken(std::string reason) {
  PatchStatus status;
  status.reason = std::move(reason);
  return status;
}

}  // namespace

const char* StateWord(PatchState state) {
  static constexpr const char* kWords[] = {"applied",      "not-applied", "partly-applied",
                                           "does-not-fit", "other-build", "other-program",
                                           "broken"};
  return kWords[static_cast<int>(state)];
}

const char* VerdictWord(ZoneVerdict verdict) {
  static constexpr const char* kWords[] = {"original", "patched", "other", "outside"};
  return kWords[static_cast<int>(verdict)];
}

PatchStatus StatusOfPatch(const std::string& patchPath, const std::optional<std::string>& argument,
                          PatchRecord record, const Bytes& image, const std::string& exePath,
                          std::string& exeVersion, ZoneDetail detail) {
  SilentUi silent;
  PatchStatus status;
  if (ForOtherProgram(record, exePath)) {
    status.state = PatchState::OtherProgram;
    return status;
  }
  if (!VersionAccepted(exePath, record, exeVersion, silent)) {
    status.state = PatchState::OtherBuild;
    return status;
  }
  const PatchRecord loaded = record;
  if (!InsertArgument(patchPath, argument, record, silent)) {
    return Broken(silent.FirstMessage());
  }
  status.placed = PlaceEitherWay(image, record);
  if (status.placed && !record.Zones.empty()) {
    status.shift = record.Zones.View(0).Offset - loaded.Zones.View(0).Offset;
  }
  status.zones = ZoneReports(record, image, detail);
  status.state = StateOf(status.zones);
  if (status.state != PatchState::Applied && status.placed) {
    status.argument = ReadBackArgument(patchPath, loaded, status.shift, image);
    if (status.argument) {
      record = loaded;
      InsertArgument(patchPath, status.argument, record, silent);
      for (std::size_t i = 0; i < record.Zones.size(); ++i) {
        record.Zones.SetOffset(i, record.Zones.View(i).Offset + status.shift);
      }
      status.zones = ZoneReports(record, image, detail);
      status.state = PatchState::Applied;
    }
  }
  return status;
}

PatchStatus GetPatchStatus(const std::string& patchPath, const std::string& exePath,
                           const std::optional<std::string>& argument, std::string& exeVersion) {
  SilentUi silent;
  PatchRecord record;
  if (!LoadPatch(patchPath, record, silent)) {
    return Broken(silent.FirstMessage());
  }
  Bytes image;
  if (!ReadExecutableImage(exePath, image, silent)) {
    PatchStatus status;
    status.state = PatchState::DoesNotFit;
    status.reason = silent.FirstMessage();
    return status;
  }
  return StatusOfPatch(patchPath, argument, std::move(record), image, exePath, exeVersion);
}

}  // namespace varnock
