#include "engine/patch_status.h"

#include <algorithm>
#include <sstream>

#include "engine/argument_readback.h"
#include "engine/dynamic_search.h"
#include "engine/patch_operation.h"
#include "engine/silent_ui.h"
#include "engine/zone_at.h"
#include "engine/zone_pipeline.h"
#include "patchfile/load_patch.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/translation.h"
#include "target/target_table.h"

namespace varnock {

// How a status is decided. It is what the operation itself would do, found by the operation's
// own steps (the argument written in, the dynamic search, every zone verified in order), run
// in memory in both directions with the same argument:
//   not-applied     apply would succeed;
//   applied         apply would find the work done, and remove would succeed;
//   partly-applied  neither would write, and every zone holds its original or patched bytes;
//   does-not-fit    neither would write, and some zone holds other bytes or lies outside the
//                   file, or the dynamic search finds no place for the patch.
// other-program, other-build and broken are decided before any zone is looked at. A patch
// written without verification is written whatever its zones hold, so what the operation
// returns tells nothing of them: once the dynamic search has placed it, the words say what the
// written zones hold there (all original bytes, all patched, each one or the other, or some
// zone neither or outside the file), and apply then succeeds on a patch not applied and remove
// on one applied. An argument's value is read back only when the value judged with leaves the
// patch partly applied or not fitting, and it is told only when that value leaves it applied
// and every written zone holds the bytes it gives: original bytes are never read back as
// "applied with another value".

namespace {

ZoneVerdict VerdictAt(const Bytes& image, std::int64_t position, const ZoneView& zone) {
  // Without verification the check only asks whether the zone lies inside the file.
  if (CheckZoneAt(image, position, zone, false, true) != ResultDone) {
    return ZoneVerdict::Outside;
  }
  switch (CheckZoneAt(image, position, zone, false, false)) {
    case ResultDone:
      return ZoneVerdict::Original;
    case ResultAlreadyDone:
      return ZoneVerdict::Patched;
    default:
      return ZoneVerdict::Other;
  }
}

// Whether the image holds the zone's patched bytes where the report places it (its verdict
// says original first when the two runs are the same).
bool HoldsPatched(const PatchRecord& record, const Bytes& image, const ZoneReport& zone) {
  const ZoneView view = record.Zones.View(zone.index);
  return zone.verdict != ZoneVerdict::Outside &&
         std::equal(view.PatchBytes.begin(), view.PatchBytes.end(), image.begin() + zone.offset);
}

// `zones` is the zone table, or empty when the status keeps none: each zone is then seen here.
PatchState StateOf(const PatchRecord& record, const Bytes& image, const Trial& apply,
                   const Trial& remove, const std::vector<ZoneReport>& zones) {
  if (!apply.placed) {
    return PatchState::DoesNotFit;
  }
  bool other = false;
  bool allOriginal = true;
  bool allPatched = true;
  const auto see = [&](const ZoneReport& zone) {
    if (zone.written) {
      other = other || zone.verdict == ZoneVerdict::Other || zone.verdict == ZoneVerdict::Outside;
      allOriginal = allOriginal && zone.verdict == ZoneVerdict::Original;
      allPatched = allPatched && HoldsPatched(record, image, zone);
    }
  };
  for (const ZoneReport& zone : zones) {
    see(zone);
  }
  for (std::size_t i = 0; zones.empty() && i < record.Zones.size(); ++i) {
    see(ZoneReportAt(record, image, apply, i, ZoneDetail::PlacesOnly));
  }
  if (record.Has(DontVerifySource)) {
    if (other) {
      return PatchState::DoesNotFit;
    }
    return allOriginal  ? PatchState::NotApplied
           : allPatched ? PatchState::Applied
                        : PatchState::PartlyApplied;
  }
  if (apply.result == ResultDone) {
    return PatchState::NotApplied;
  }
  if (apply.result == ResultAlreadyDone && remove.result == ResultDone) {
    return PatchState::Applied;
  }
  return other ? PatchState::DoesNotFit : PatchState::PartlyApplied;
}

// The status of a record whose argument is written in.
PatchStatus Judge(const PatchRecord& record, const Bytes& image, ZoneDetail detail) {
  PatchStatus status;
  const Trial apply = TryZones(image, record, false);
  const Trial remove = TryZones(image, record, true);
  status.placed = apply.placed;
  status.shift = apply.shift;
  status.zones = ZoneTable(record, image, apply, detail);
  status.reason = Unplaced(record, apply);
  status.state = StateOf(record, image, apply, remove, status.zones);
  return status;
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

// The status with the value the executable holds, when the patch is applied with one.
std::optional<PatchStatus> AppliedWithOtherValue(const std::string& patchPath,
                                                 const PatchRecord& loaded,
                                                 const PatchStatus& judged, const Bytes& image,
                                                 ZoneDetail detail) {
  std::optional<PatchStatus> found;
  const auto appliedWith = [&](const std::string& value) {
    SilentUi silent;
    PatchRecord record = loaded;
    if (!InsertArgument(patchPath, value, record, silent)) {
      return false;
    }
    // The zones' places are needed below even when the status keeps no zone table.
    const bool stateOnly = detail == ZoneDetail::StateOnly;
    PatchStatus status = Judge(record, image, stateOnly ? ZoneDetail::PlacesOnly : detail);
    // A value is told only when every written zone holds the bytes it gives, so that written
    // back it changes none (zones that share bytes are verified one after the other).
    const auto holds = [&](const ZoneReport& zone) {
      return !zone.written || HoldsPatched(record, image, zone);
    };
    if (status.state != PatchState::Applied || !std::ranges::all_of(status.zones, holds)) {
      return false;
    }
    if (stateOnly) {
      status.zones.clear();
    }
    status.argument = value;
    found = std::move(status);
    return true;
  };
  ReadBackArgument(loaded, judged.placed ? judged.shift : 0, image, appliedWith);
  return found;
}

// The status of `record`, its argument written in, or the one of the value read back from the
// image when that one leaves the patch partly applied or not fitting.
PatchStatus JudgeWithValue(const std::string& patchPath, const PatchRecord& loaded,
                           const PatchRecord& record, const Bytes& image, ZoneDetail detail) {
  PatchStatus status = Judge(record, image, detail);
  if (record.Has(HasArgument) &&
      (status.state == PatchState::PartlyApplied || status.state == PatchState::DoesNotFit)) {
    if (auto other = AppliedWithOtherValue(patchPath, loaded, status, image, detail)) {
      return std::move(*other);
    }
  }
  return status;
}

}  // namespace

const char* StateWord(PatchState state) {
  static constexpr const char* kWords[] = {"applied",      "not-applied", "partly-applied",
                                           "does-not-fit", "other-build", "other-program",
                                           "broken"};
  return kWords[static_cast<int>(state)];
}

const char* StatusWord(PatchState state) {
  // TRANSLATORS: the status of a patch on the chosen executable, shown in a column and after
  // "Status: "
  static constexpr const char* kWords[] = {TrNoop("applied"),
                                           TrNoop("not applied"),
                                           TrNoop("partly applied"),
                                           TrNoop("does not fit this file"),
                                           TrNoop("made for another build"),
                                           TrNoop("made for another program"),
                                           TrNoop("broken")};
  return Tr(kWords[static_cast<int>(state)]);
}

const char* VerdictWord(ZoneVerdict verdict) {
  static constexpr const char* kWords[] = {"original", "patched",   "other",
                                           "outside",  "not-found", "unplaced"};
  return kWords[static_cast<int>(verdict)];
}

ZoneReport ZoneReportAt(const PatchRecord& record, const Bytes& image, const Trial& trial,
                        std::size_t index, ZoneDetail detail) {
  const ZoneView zone = record.Zones.View(index);
  const std::int64_t position = std::int64_t{zone.Offset} + trial.shift;
  ZoneReport report{index,
                    position,
                    zone.Length,
                    {},
                    {},
                    {},
                    VerdictAt(image, position, zone),
                    index >= FirstWrittenZone(record)};
  // The zone is seen in place; its bytes are copied into the report only when asked for.
  if (detail == ZoneDetail::WithBytes) {
    report.original.assign(zone.OriginalBytes.begin(), zone.OriginalBytes.end());
    report.patched.assign(zone.PatchBytes.begin(), zone.PatchBytes.end());
    if (report.verdict != ZoneVerdict::Outside) {
      report.found.assign(image.begin() + position, image.begin() + position + zone.Length);
    }
  }
  if (!trial.placed) {
    // The search names the zone it looked for.
    report.verdict = index == trial.zone ? ZoneVerdict::NotFound : ZoneVerdict::Unplaced;
  }
  return report;
}

std::vector<ZoneReport> ZoneTable(const PatchRecord& record, const Bytes& image, const Trial& trial,
                                  ZoneDetail detail) {
  std::vector<ZoneReport> reports;
  if (detail == ZoneDetail::StateOnly) {
    return reports;
  }
  reports.reserve(record.Zones.size());
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    reports.push_back(ZoneReportAt(record, image, trial, i, detail));
  }
  return reports;
}

std::string Unplaced(const PatchRecord& record, const Trial& trial) {
  if (trial.placed) {
    return {};
  }
  if (record.Has(RecordAlignment)) {
    return "the alignment record, zone 0, is found nowhere in the executable";
  }
  const std::size_t reference = ReferenceZoneIndex(record);
  std::ostringstream text;
  text << "zone " << reference << " is found nowhere within 112 bytes of offset 0x"
       << std::uppercase << std::hex << record.Zones.View(reference).Offset;
  return text.str();
}

PatchStatus StatusOfPatch(const std::string& patchPath, const std::optional<std::string>& argument,
                          const PatchRecord& record, const ExeRead& exe, ZoneDetail detail) {
  const std::string& exePath = exe.path;
  const Bytes& image = exe.image;
  SilentUi silent;
  PatchStatus status;
  if (ForOtherProgram(record, exePath)) {
    status.state = PatchState::OtherProgram;
    return status;
  }
  if (!VersionAccepted(exePath, record, exe.version, silent)) {
    status.state = PatchState::OtherBuild;
    return status;
  }
  // The record is copied only to write an argument in.
  if (!record.Has(HasArgument)) {
    return JudgeWithValue(patchPath, record, record, image, detail);
  }
  PatchRecord withValue = record;
  if (!InsertArgument(patchPath, argument, withValue, silent)) {
    return Broken(silent.FirstMessage());
  }
  return JudgeWithValue(patchPath, record, withValue, image, detail);
}

PatchStatus StatusOfPrepared(const std::string& patchPath, const PatchRecord& loaded,
                             const PatchRecord& record, const Bytes& image,
                             const std::string& exePath, ZoneDetail detail) {
  if (ForOtherProgram(record, exePath)) {
    PatchStatus status;
    status.state = PatchState::OtherProgram;
    return status;
  }
  return JudgeWithValue(patchPath, loaded, record, image, detail);
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
  return StatusOfPatch(patchPath, argument, record, {exePath, image, exeVersion});
}

std::optional<std::string> AppliedArgument(const std::string& patchPath,
                                           const std::string& exePath) {
  std::string exeVersion;
  auto value = GetPatchStatus(patchPath, exePath, std::nullopt, exeVersion).argument;
  // A value the copy's file name cannot carry cannot be given to the operation either.
  return value && FitsInFileName(*value) ? value : std::nullopt;
}

}  // namespace varnock
