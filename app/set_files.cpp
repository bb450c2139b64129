#include "app/set_files.h"

#include <unordered_map>

#include "sets/set_operations.h"
#include "sets/set_plan.h"
#include "support/new_file_copy.h"
#include "support/paths.h"
#include "support/safe_rewrite.h"
#include "support/translation.h"

namespace varnock {

namespace {

OpenedSet Refused(std::string message) {
  OpenedSet opened;
  opened.message = std::move(message);
  opened.refused = true;
  return opened;
}

// The marks that make the window's plan the set's: its applications checked, in the set's
// order with their values, and the patches it removes unchecked.
void MarkFrom(const SetPlan& plan, OpenedSet& opened) {
  std::unordered_map<std::string, bool> removed;
  for (const BatchItem& item : plan.removals) {
    removed[GetFileName(item.patchPath)] = true;
  }
  for (std::size_t rank = 0; rank < plan.applications.size(); ++rank) {
    const BatchItem& item = plan.applications[rank];
    const std::string name = GetFileName(item.patchPath);
    opened.arguments[name] = {rank, item.argument};
    opened.marks.push_back({name, true, removed.erase(name) > 0});
  }
  for (const auto& [name, unused] : removed) {
    opened.marks.push_back({name, false, false});
  }
}

std::string Listed(const SetPlan& plan, const std::string& note) {
  std::string text;
  for (const std::string& problem : plan.problems) {
    text += "\n" + problem;
  }
  for (const SetDifference& difference : plan.differences) {
    text += "\n" + difference.patch + ": " + difference.shown;
  }
  if (!note.empty()) {
    text += "\n" + note;
  }
  return text;
}

std::string MessageFor(const std::string& setPath, const PatchSet& set, const SetPlan& plan,
                       const std::string& note) {
  const std::string name = GetFileName(setPath);
  const std::string count = std::to_string(set.patches.size());
  // TRANSLATORS: %1 is the set file's name, %2 the number of its patches
  std::string text = set.patches.size() == 1 ? TrFormat("Set %1: %2 patch.", {name, count})
                                             : TrFormat("Set %1: %2 patches.", {name, count});
  if (plan.Holds()) {
    return text + "\n" + Tr("The executable holds it already.") + Listed(plan, note);
  }
  text += "\n\n" + std::string(Tr("Missing or changed:")) + Listed(plan, note) + "\n\n";
  if (plan.applications.empty() && plan.removals.empty()) {
    return text + Tr("No mark could be changed for it.");
  }
  return text + (plan.problems.empty()
                     // TRANSLATORS: "Apply changes" is the caption of the Patches window's button
                     ? Tr("The marks now show the set: press Apply changes to make the "
                          "executable hold it.")
                     : Tr("The marks now show the rest of the set: press Apply changes to make "
                          "the executable hold it."));
}

}  // namespace

OpenedSet OpenSet(const std::string& setPath, const FolderStatus& status) {
  PatchSet set;
  std::string error;
  if (!ReadPatchSetFile(setPath, set, error)) {
    // TRANSLATORS: %1 is why the set file cannot be read
    return Refused(TrFormat("The set cannot be opened: %1", {error}));
  }
  const std::string program = ProgramOf(status.exePath);
  if (!EqualsIgnoreCase(program, set.program)) {
    // TRANSLATORS: %1 and %2 are programs' names, such as tomb4
    return Refused(TrFormat("The set is for %1, the executable is %2: no mark is changed.",
                            {set.program, program}));
  }
  SetCheck check;
  check.read = true;
  check.signature = status.exeVersion;
  // The window's status kept none of the files it read: the set's are summed here.
  std::unordered_map<std::string, LoadedPatch> loaded;
  check.plan = PlanSet(set, status, loaded);
  OpenedSet opened;
  MarkFrom(check.plan, opened);
  opened.message = MessageFor(setPath, set, check.plan, OtherBuildNote(set, check));
  return opened;
}

bool SaveSetAs(const std::string& folder, const std::string& exePath, const std::string& setPath,
               UserInterface& ui) {
  PatchSet set;
  if (!SaveSetFrom(folder, exePath, set, ui)) {
    return false;
  }
  const std::string text = PatchSetText(set);
  const Bytes content(text.begin(), text.end());
  std::string error;
  NewCopy made = WriteNewFile(setPath, content, error);
  if (made == NewCopy::Taken) {
    made = RewriteFile(setPath, content, error) ? NewCopy::Made : NewCopy::Failed;
  }
  if (made == NewCopy::Failed) {
    // TRANSLATORS: %1 is the set file's path, %2 why it cannot be written
    ui.ShowMessage(TrFormat("The set cannot be saved as %1: %2", {setPath, error}),
                   MessageIcon::Critical);
    return false;
  }
  return true;
}

}  // namespace varnock
