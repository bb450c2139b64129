#include "sets/set_operations.h"

#include <unordered_set>

#include "engine/folder_status.h"
#include "engine/patch_batch.h"
#include "engine/silent_ui.h"
#include "patchfile/load_patch.h"
#include "sets/original_sha256.h"
#include "sets/set_argument.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/sha256.h"
#include "support/translation.h"
#include "target/target_table.h"

namespace varnock {

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += "\r\n" + line;
  }
  return text;
}

// The set's line for an applied patch; false with the reason when it cannot be written.
bool SetLineOf(const std::string& folder, const FolderStatusEntry& entry, SetPatch& patch,
               std::string& error) {
  const std::string path = JoinPath(folder, entry.fileName);
  SilentUi silent;
  PatchRecord record;
  if (!LoadPatch(path, record, silent)) {
    error = silent.FirstMessage();
    return false;
  }
  patch = {entry.fileName, FileSha256Text(path), std::nullopt, 0};
  if (record.Has(HasArgument)) {
    patch.argument = entry.status.argument ? entry.status.argument : NameArgument(path);
  }
  error = PatchNameError(patch.name);
  if (error.empty() && patch.argument) {
    error = ArgumentTextError(*patch.argument);
  }
  if (error.empty() && patch.sha256.empty()) {
    error = Tr("its file cannot be read");
  }
  return error.empty();
}

// The items with their patches as the check loaded them. One it did not keep has no record
// and no sum, and so is refused as changed.
std::vector<LoadedBatchItem> LoadedItems(const std::vector<BatchItem>& items,
                                         const SetCheck& check) {
  std::vector<LoadedBatchItem> loaded;
  loaded.reserve(items.size());
  for (const BatchItem& item : items) {
    const auto kept = check.loaded.find(GetFileName(item.patchPath));
    loaded.push_back(kept == check.loaded.end()
                         ? LoadedBatchItem{item, {}, {}}
                         : LoadedBatchItem{item, kept->second.record, kept->second.sha256});
  }
  return loaded;
}

// The patches the plan changes, taken out of those the status kept.
std::unordered_map<std::string, LoadedPatch> PlannedPatches(
    const SetPlan& plan, std::unordered_map<std::string, LoadedPatch>& kept) {
  std::unordered_map<std::string, LoadedPatch> planned;
  for (const auto* items : {&plan.removals, &plan.applications}) {
    for (const BatchItem& item : *items) {
      if (auto patch = kept.extract(GetFileName(item.patchPath))) {
        planned.insert(std::move(patch));
      }
    }
  }
  return planned;
}

}  // namespace

std::string ProgramOf(const std::string& exePath) {
  std::string name = GetFileName(exePath);
  if (Separator() == '\\') {  // Windows takes either slash between folders
    name = name.substr(name.find_last_of('/') + 1);
  }
  return TargetProgramName(name).value_or(name);
}

bool SaveSetFrom(const std::string& folder, const std::string& exePath, PatchSet& set,
                 UserInterface& ui) {
  FolderStatus status;
  if (!GetFolderStatus(folder, exePath, status, ui)) {
    return false;
  }
  std::vector<std::string> partly;
  for (const FolderStatusEntry& entry : status.entries) {
    if (entry.status.state == PatchState::PartlyApplied) {
      partly.push_back(TrFormat("%1 is partly applied", {entry.fileName}));
    }
  }
  if (!partly.empty()) {
    // TRANSLATORS: %1 is the executable's path; the partly applied patches follow, a line each
    ui.ShowMessage(TrFormat("ERROR: no set is saved from %1:", {exePath}) + Joined(partly),
                   MessageIcon::Critical);
    return false;
  }
  Bytes image;  // read once for its own sum and its history's original
  std::string error;
  if (!ReadWholeFile(exePath, image, error)) {
    // TRANSLATORS: %1 is a file's path, %2 why it cannot be read
    ui.ShowMessage(TrFormat("ERROR: no set is saved: %1: %2", {exePath, error}),
                   MessageIcon::Critical);
    return false;
  }
  set = {ProgramOf(exePath), status.exeVersion, Sha256Text(image), {}, {}};
  set.originalSha256 = OriginalSha256(exePath, image, set.sha256);
  for (const FolderStatusEntry& entry : status.entries) {
    if (entry.status.state != PatchState::Applied) {
      continue;
    }
    SetPatch patch;
    std::string why;
    if (!SetLineOf(folder, entry, patch, why)) {
      ui.ShowMessage(TrFormat("ERROR: no set is saved: %1: %2", {entry.fileName, why}),
                     MessageIcon::Critical);
      return false;
    }
    set.patches.push_back(std::move(patch));
  }
  return true;
}

SetCheck CheckSet(const PatchSet& set, const std::string& folder, const std::string& exePath,
                  UserInterface& ui) {
  SetCheck check;
  check.otherProgram = !EqualsIgnoreCase(ProgramOf(exePath), set.program);
  std::unordered_set<std::string> names;
  for (const SetPatch& patch : set.patches) {
    names.insert(NameKey(patch.name));
  }
  StatusKeep keep;
  keep.named = [&names](const std::string& fileName) { return names.contains(NameKey(fileName)); };
  FolderStatus status;
  if (!GetFolderStatus(folder, exePath, status, ui, nullptr, &keep)) {
    return check;
  }
  check.read = true;
  check.signature = status.exeVersion;
  check.sha256 = keep.exeSha256;
  check.plan = PlanSet(set, status, keep.patches);
  check.loaded = PlannedPatches(check.plan, keep.patches);
  return check;
}

std::string OtherBuildNote(const PatchSet& set, const SetCheck& check) {
  if (!check.read || EqualsIgnoreCase(check.signature, set.signature)) {
    return {};
  }
  return TrFormat(
      // TRANSLATORS: %1 and %2 are version signatures of the executable
      "the executable is another build (%1) than the set was saved from (%2): each patch decides "
      "whether it fits",
      {check.signature, set.signature});
}

ResultCode ApplySet(const PatchSet& set, const SetCheck& check, const std::string& exePath,
                    const OperationContext& context) {
  UserInterface& ui = context.ui;
  if (check.otherProgram) {
    // TRANSLATORS: %1 is the executable's path, %2 the program it is, %3 the program the set is
    // for (both file names, such as tomb4.exe)
    ui.ShowMessage(TrFormat("ERROR: %1 is %2, the set is for %3: nothing is written to %1",
                            {exePath, ProgramOf(exePath), set.program}),
                   MessageIcon::Critical);
    return ResultFailed;
  }
  if (!check.read) {
    return ResultFailed;  // the status has told why
  }
  const SetPlan& plan = check.plan;
  if (!plan.problems.empty()) {
    ui.ShowMessage(
        // TRANSLATORS: %1 is the executable's path; the problems follow, a line each
        TrFormat("ERROR: the set cannot be applied, nothing is written to %1:", {exePath}) +
            Joined(plan.problems),
        MessageIcon::Critical);
    return ResultFailed;
  }
  if (plan.Blocked()) {
    std::vector<std::string> partly;
    for (const SetDifference& difference : plan.differences) {
      if (difference.kind == DifferenceKind::PartlyApplied) {
        // TRANSLATORS: %1 is a patch file's name, %2 how it stands: "partly applied" or "partly
        // applied, not in the set"
        partly.push_back(TrFormat("%1 is %2", {difference.patch, difference.shown}));
      }
    }
    // TRANSLATORS: %1 is the executable's path; the partly applied patches follow, a line each
    ui.ShowMessage(TrFormat("ERROR: patches that would have to change are partly applied, nothing "
                            "is written to %1:",
                            {exePath}) +
                       Joined(partly),
                   MessageIcon::Critical);
    return ResultFailed;
  }
  if (plan.Holds()) {
    return ResultAlreadyDone;
  }
  return PerformLoadedChanges({.removals = LoadedItems(plan.removals, check),
                               .applications = LoadedItems(plan.applications, check),
                               .exePath = exePath,
                               .exeSha256 = check.sha256,
                               .exeVersion = check.signature},
                              context);
}

}  // namespace varnock
