#include "engine/patch_batch.h"

#include <algorithm>
#include <iterator>

#include "engine/dynamic_search.h"
#include "engine/general_failure.h"
#include "engine/patch_conflicts.h"
#include "engine/zone_pipeline.h"
#include "patchfile/load_patch.h"
#include "support/hex_text.h"
#include "support/paths.h"
#include "support/sha256.h"
#include "support/translation.h"
#include "target/exe_version.h"

namespace varnock {

namespace {

// One patch of the batch on its way through the image.
struct Step {
  std::string name;  // the patch file's name, for messages
  PatchRecord record;
  ResultCode result = ResultNone;
  std::size_t zone = 0;  // the zone that decided a result other than ResultDone
  // What went wrong with that zone: the whole message, %1 the patch, %2 the zone and %3 its
  // offset.
  const char* problem = "";
  std::string sha256;  // of the bytes the record was loaded from, when known
};

// The message `text` (TrNoop) about the step's zone, in the user's language.
std::string ZoneMessage(const char* text, const Step& step) {
  const ZoneView zone = step.record.Zones.View(step.zone);
  return FillPlaceholders(Tr(text), {step.name, std::to_string(step.zone),
                                     HexDigits(static_cast<std::uint64_t>(zone.Offset))});
}

// Verifies and changes the patch's zones in the image; the image keeps the changes only when
// every zone succeeded.
void Apply(Step& step, Bytes& image, bool removing, ByteRuns* found) {
  std::int32_t shift = 0;
  const ResultCode placed =
      step.record.Has(Dynamic) ? FindPatchShift(image, step.record, removing, shift) : ResultDone;
  MoveZones(step.record, shift);  // where it lies, also for the conflicts
  if (placed != ResultDone) {
    step.result = placed;
    step.zone = ReferenceZoneIndex(step.record);
    // TRANSLATORS: %1 is a patch file's name, %2 a zone number, %3 a hexadecimal offset.
    step.problem = TrNoop("ERROR: %1: zone %2 at offset 0x%3 is found nowhere near its place");
    return;
  }
  if (found != nullptr) {
    KeepZoneBytes(image, step.record, *found);
  }
  Bytes changed = image;
  step.result = ApplyZones(changed, step.record, removing, &step.zone);
  if (step.result == ResultDone) {
    image.swap(changed);
  } else {
    step.problem = TrNoop(
        // TRANSLATORS: %1 is a patch file's name, %2 a zone number, %3 a hexadecimal offset.
        "ERROR: %1: zone %2 at offset 0x%3 holds neither its original nor its patched bytes");
    const ZoneView zone = step.record.Zones.View(step.zone);
    if (zone.Offset < 0 ||
        std::int64_t{zone.Offset} + zone.Length > static_cast<std::int64_t>(image.size())) {
      // TRANSLATORS: %1 is a patch file's name, %2 a zone number, %3 a hexadecimal offset.
      step.problem = TrNoop("ERROR: %1: zone %2 at offset 0x%3 lies outside the executable");
    }
  }
}

// The position in the list of the patch that goes `k`-th onto the image: the `removals` first
// ones backwards, then the others in their order.
std::size_t InImageOrder(std::size_t k, std::size_t removals) {
  return k < removals ? removals - 1 - k : k;
}

// The first two patches of steps[first, last) that share a byte, told; empty when none do.
std::string ConflictAmong(const std::vector<Step>& steps, std::size_t first, std::size_t last) {
  std::vector<std::vector<ZoneSpan>> spans;
  spans.reserve(last - first);
  for (std::size_t i = first; i < last; ++i) {
    spans.push_back(WrittenSpans(steps[i].record));
  }
  const std::optional<Conflict> conflict = FirstConflict(spans);
  if (!conflict) {
    return {};
  }
  const Conflict& c = *conflict;
  const std::string& a = steps[first + c.first].name;
  const std::string& b = steps[first + c.second].name;
  return TrFormat(
      // TRANSLATORS: %1 and %2 are patch file names, %3 and %4 zone numbers (of %1 and of %2), %5
      // a hexadecimal offset.
      "ERROR: %1 and %2 conflict: zone %3 of %1 and zone %4 of %2 share the byte at offset 0x%5",
      {a, b, std::to_string(c.firstZone), std::to_string(c.secondZone),
       HexDigits(static_cast<std::uint64_t>(c.offset))});
}

// The message for the first reason the batch cannot be written; empty when it can. Patches
// removed may share bytes with patches applied (one variant exchanged for another), not with
// each other, nor may two patches applied.
std::string Refusal(const std::vector<Step>& steps, std::size_t removals) {
  for (const std::string& conflict :
       {ConflictAmong(steps, 0, removals), ConflictAmong(steps, removals, steps.size())}) {
    if (!conflict.empty()) {
      return conflict;
    }
  }
  // The first patch, in the order they went onto the image, that would fail.
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const Step& step = steps[InImageOrder(k, removals)];
    if (step.result == ResultFailed) {
      return ZoneMessage(step.problem, step);
    }
  }
  bool done = false;
  std::optional<std::size_t> already;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    done = done || steps[i].result == ResultDone;
    if (!already && steps[i].result == ResultAlreadyDone) {
      already = i;
    }
  }
  if (done && already) {
    if (*already < removals) {
      // TRANSLATORS: %1 is a patch file's name, %2 a zone number, %3 a hexadecimal offset.
      return ZoneMessage(TrNoop("ERROR: %1: zone %2 at offset 0x%3 already holds its original "
                                "bytes, while other patches of the list are still applied"),
                         steps[*already]);
    }
    // TRANSLATORS: %1 is a patch file's name, %2 a zone number, %3 a hexadecimal offset.
    return ZoneMessage(TrNoop("ERROR: %1: zone %2 at offset 0x%3 already holds its patched "
                              "bytes, while other patches of the list are not applied yet"),
                       steps[*already]);
  }
  return {};
}

// Whether the step's patch may go onto the executable; false after a message when not.
bool Accepted(const Step& step, const std::string& exePath, std::string& exeVersion,
              UserInterface& ui) {
  if (VersionAccepted(exePath, step.record, exeVersion, ui)) {
    return true;
  }
  if (exeVersion != kFailedExeVersion) {  // else the signature has told why
    // TRANSLATORS: %1 is a patch file's name, %2 and %3 version signatures of executables.
    ui.ShowMessage(TrFormat("ERROR: %1 is made for the version %2, not for %3",
                            {step.name, step.record.ExeVersion, exeVersion}),
                   MessageIcon::Critical);
  }
  return false;
}

// The patches of a batch in list order, each loaded into its step: the first `removals` come off
// the image, the others go on.
struct Steps {
  std::vector<Step> steps;
  std::vector<BatchItem> items;
  std::size_t removals = 0;
};

// The loaded steps on the image of the held executable, then its rewrite.
ResultCode RunSteps(Steps& batch, LockedFile& exe, Bytes& image, const std::string& exePath,
                    const OperationContext& context) {
  std::vector<Step>& steps = batch.steps;
  const std::vector<BatchItem>& items = batch.items;
  const std::size_t removals = batch.removals;
  UserInterface& ui = context.ui;
  const bool recording = context.history != nullptr;
  ByteRuns found;
  // Removing takes the list backwards, so that each patch comes off the image it went onto.
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const std::size_t i = InImageOrder(k, removals);
    const bool removing = i < removals;
    if (!InsertArgument(items[i].patchPath, items[i].argument, steps[i].record, ui)) {
      return ResultFailed;
    }
    if (steps[i].record.Zones.empty()) {
      steps[i].result = ResultDone;
      continue;
    }
    Apply(steps[i], image, removing, recording ? &found : nullptr);
  }
  const std::string refusal = Refusal(steps, removals);
  if (!refusal.empty()) {
    ui.ShowMessage(refusal, MessageIcon::Critical);
    return ResultFailed;
  }
  bool anyDone = false;
  bool anyWrite = false;
  for (const Step& step : steps) {
    anyDone = anyDone || step.result == ResultDone;
    anyWrite = anyWrite || WritesAnyZone(step.record);
  }
  if (!anyDone) {
    return ResultAlreadyDone;
  }
  RecordedChange change{.kind = removals == items.size() ? "batch remove" : "batch"};
  if (recording) {
    change.ranges = ChangedRanges(found, image);
  }
  for (std::size_t i = 0; recording && i < items.size(); ++i) {
    change.patches.push_back(steps[i].sha256.empty()  // a batch reads the files it loaded again
                                 ? NotePatch(items[i].patchPath, items[i].argument)
                                 : PatchNote{steps[i].name, steps[i].sha256, items[i].argument});
  }
  const bool written =
      !anyWrite || RewriteExecutable(exe, exePath, image, std::move(change), context);
  return written ? ResultDone : ResultFailed;
}

// The first `removals` items come off the image, the others go on.
ResultCode Batch(std::vector<BatchItem> items, const std::string& exePath, std::size_t removals,
                 const OperationContext& context) {
  UserInterface& ui = context.ui;
  Steps batch{std::vector<Step>(items.size()), std::move(items), removals};
  std::string exeVersion;
  for (std::size_t i = 0; i < batch.items.size(); ++i) {
    Step& step = batch.steps[i];
    step.name = GetFileName(batch.items[i].patchPath);
    if (!LoadPatch(batch.items[i].patchPath, step.record, ui) ||
        !Accepted(step, exePath, exeVersion, ui)) {
      return ResultFailed;
    }
  }
  // Held from before the read to after the rewrite, as for one patch.
  LockedFile exe(context.faults);
  Bytes image;
  if (!ReadExecutableImage(exePath, exe, image, ui)) {
    return ResultFailed;
  }
  return RunSteps(batch, exe, image, exePath, context);
}

// The batch of patches loaded and judged before: none is loaded again, so what is written is
// what was judged, and an executable that changed since it was read stops it before anything is
// written.
ResultCode LoadedBatch(LoadedChanges& changes, const OperationContext& context) {
  UserInterface& ui = context.ui;
  const std::string& exePath = changes.exePath;
  std::string exeVersion = changes.exeVersion;
  if (exeVersion == kFailedExeVersion) {
    exeVersion.clear();  // computed again below, and the failure told as a batch tells it
  }
  // The removals come off backwards, then the applications go on.
  std::vector<LoadedBatchItem>& loaded = changes.removals;
  const std::size_t removals = loaded.size();
  std::ranges::reverse(loaded);
  loaded.insert(loaded.end(), std::make_move_iterator(changes.applications.begin()),
                std::make_move_iterator(changes.applications.end()));
  Steps batch{std::vector<Step>(loaded.size()), {}, removals};
  batch.items.reserve(loaded.size());
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    Step& step = batch.steps[i];
    step.name = GetFileName(loaded[i].item.patchPath);
    step.record = std::move(loaded[i].record);
    step.sha256 = std::move(loaded[i].sha256);
    batch.items.push_back(std::move(loaded[i].item));
    if (step.sha256.empty()) {  // no earlier look loaded it: nothing was judged
      // TRANSLATORS: %1 is a patch file's name, %2 the executable's path.
      ui.ShowMessage(TrFormat("ERROR: %1 was not read with the executable's status: nothing is "
                              "written to %2",
                              {step.name, exePath}),
                     MessageIcon::Critical);
      return ResultFailed;
    }
    if (!Accepted(step, exePath, exeVersion, ui)) {
      return ResultFailed;
    }
  }
  LockedFile exe(context.faults);
  Bytes image;
  if (!ReadExecutableImage(exePath, exe, image, ui)) {
    return ResultFailed;
  }
  if (Sha256Text(image) != changes.exeSha256) {
    ui.ShowMessage(
        TrFormat("ERROR: %1 was changed after it was read: nothing is written to %1", {exePath}),
        MessageIcon::Critical);
    return ResultFailed;
  }
  return RunSteps(batch, exe, image, exePath, context);
}

}  // namespace

ResultCode PerformBatch(const std::vector<BatchItem>& items, const std::string& exePath,
                        bool removing, const OperationContext& context) {
  return ReportingFailures(
      context.ui, [&] { return Batch(items, exePath, removing ? items.size() : 0, context); });
}

ResultCode PerformChanges(const std::vector<BatchItem>& removals,
                          const std::vector<BatchItem>& applications, const std::string& exePath,
                          const OperationContext& context) {
  std::vector<BatchItem> items(removals.rbegin(), removals.rend());
  items.insert(items.end(), applications.begin(), applications.end());
  return ReportingFailures(
      context.ui, [&] { return Batch(std::move(items), exePath, removals.size(), context); });
}

ResultCode PerformLoadedChanges(LoadedChanges changes, const OperationContext& context) {
  return ReportingFailures(context.ui, [&] { return LoadedBatch(changes, context); });
}

}  // namespace varnock
