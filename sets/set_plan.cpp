#include "sets/set_plan.h"

#include <algorithm>
#include <unordered_map>

#include "engine/silent_ui.h"
#include "patchfile/load_patch.h"
#include "sets/set_argument.h"
#include "support/paths.h"
#include "support/sha256.h"
#include "support/translation.h"

namespace varnock {

namespace {

std::string LineOf(const SetPatch& patch) {
  return std::to_string(patch.line);
}

// The problem of a patch whose file's SHA-256 `sum` is not the one the set names.
std::string MismatchedSum(const SetPatch& patch, const std::string& sum) {
  // TRANSLATORS: %1 is a line number of the set file, %2 a patch file's name, %3 its file's
  // SHA-256, %4 the SHA-256 the set gives it
  return TrFormat("line %1: %2 has the SHA-256 %3, the set names %4",
                  {LineOf(patch), patch.name, sum, patch.sha256});
}

// The value the patch is applied with on the executable: the one read back, else the one its
// name carries.
std::string AppliedValue(const std::string& path, const FolderStatusEntry& entry) {
  return entry.status.argument.value_or(NameArgument(path).value_or(""));
}

// The value the set gives the patch (or its name, when the set gives none).
std::optional<std::string> WantedValue(const std::string& path, const PatchRecord& record,
                                       const SetPatch& patch) {
  if (patch.argument || !record.Has(HasArgument)) {
    return patch.argument;
  }
  return NameArgument(path);
}

// A patch of the set that cannot be applied as the executable stands, and why, in the words
// `status` gives scripts.
const char* NotAppliedBecause(PatchState state) {
  switch (state) {
    case PatchState::DoesNotFit:
      // TRANSLATORS: a patch of a set is not applied to the executable, and why; the words in
      // brackets are those of varnock-cli status
      return TrNoop("not applied (does-not-fit)");
    case PatchState::OtherBuild:
      return TrNoop("not applied (other-build)");
    case PatchState::OtherProgram:
      return TrNoop("not applied (other-program)");
    default:
      return TrNoop("not applied (broken)");
  }
}

class Planner {
 public:
  Planner(const FolderStatus& status, std::unordered_map<std::string, LoadedPatch>& loaded,
          SetPlan& plan)
      : status_(status), loaded_(loaded), plan_(plan), inSet_(status.entries.size(), false) {
    for (std::size_t i = status.entries.size(); i-- > 0;) {
      byName_[NameKey(status.entries[i].fileName)] = i;
    }
  }

  void AddSetPatch(const SetPatch& patch) {
    const auto found = byName_.find(NameKey(patch.name));
    if (found == byName_.end()) {
      plan_.problems.push_back(TrFormat(
          // TRANSLATORS: %1 is a line number of the set file, %2 a patch file's name, %3 the
          // folder of the patches, %4 the SHA-256 the set gives the patch
          "line %1: %2 is missing from %3 (the set names the SHA-256 %4)",
          {LineOf(patch), patch.name, status_.folder, patch.sha256}));
      return;
    }
    inSet_[found->second] = true;
    const FolderStatusEntry& entry = status_.entries[found->second];
    const std::string path = JoinPath(status_.folder, entry.fileName);
    const auto kept = loaded_.find(entry.fileName);
    const bool summed = kept != loaded_.end();
    const std::string sum = summed ? kept->second.sha256 : FileSha256Text(path);
    if (sum != patch.sha256) {
      plan_.problems.push_back(
          sum.empty() ? TrFormat(
                            // TRANSLATORS: %1 is a line number of the set file, %2 a patch file's
                            // name, %3 the SHA-256 the set gives the patch
                            "line %1: %2 has the SHA-256 (unread), the set names %3",
                            {LineOf(patch), patch.name, patch.sha256})
                      : MismatchedSum(patch, sum));
      return;
    }
    const PatchRecord* record = summed ? &kept->second.record : LoadAgain(entry, path, patch);
    if (record == nullptr) {
      return;
    }
    // Its argument judged: one the patch cannot take, or none where it needs one.
    if (const std::string refusal = ArgumentRefusal(path, *record, patch); !refusal.empty()) {
      plan_.problems.push_back(refusal);
      return;
    }
    Judge(entry, path, *record, WantedValue(path, *record, patch));
  }

  // The patches of the folder that the set does not name, last in the list first.
  void AddOthers() {
    for (std::size_t i = status_.entries.size(); i-- > 0;) {
      const FolderStatusEntry& entry = status_.entries[i];
      if (inSet_[i]) {
        continue;
      }
      const std::string path = JoinPath(status_.folder, entry.fileName);
      if (entry.status.state == PatchState::Applied) {
        Differ(entry, DifferenceKind::NotInSet, TrNoop("applied, not in the set"));
        plan_.removals.push_back({path, entry.status.argument});
      } else if (entry.status.state == PatchState::PartlyApplied) {
        Differ(entry, DifferenceKind::PartlyApplied, TrNoop("partly applied, not in the set"));
      }
    }
  }

 private:
  void Judge(const FolderStatusEntry& entry, const std::string& path, const PatchRecord& record,
             const std::optional<std::string>& wanted) {
    switch (entry.status.state) {
      case PatchState::Applied: {
        const std::string applied = AppliedValue(path, entry);
        if (record.Has(HasArgument) && wanted &&
            !SameArgumentValue(path, record, applied, *wanted)) {
          Differ(entry, DifferenceKind::OtherArgument,
                 "applied with " + applied + ", the set gives " + *wanted,
                 // TRANSLATORS: %1 is the argument a patch is applied with, %2 the one the set
                 // gives
                 TrFormat("applied with %1, the set gives %2", {applied, *wanted}));
          plan_.removals.push_back({path, applied});
          plan_.applications.push_back({path, wanted});
        }
        return;
      }
      case PatchState::PartlyApplied:
        Differ(entry, DifferenceKind::PartlyApplied, TrNoop("partly applied"));
        return;
      case PatchState::NotApplied:
        Differ(entry, DifferenceKind::Missing, TrNoop("not applied"));
        break;
      default:
        Differ(entry, DifferenceKind::Missing, NotAppliedBecause(entry.status.state));
        break;
    }
    plan_.applications.push_back({path, wanted});
  }

  // A patch of the set that the status did not load (nor sum), loaded again for the reason it
  // fails, or, when its file has changed since, kept as it loads now: the record is used only
  // when the bytes it was loaded from have the set's sum. nullptr after the problem is told.
  const PatchRecord* LoadAgain(const FolderStatusEntry& entry, const std::string& path,
                               const SetPatch& patch) {
    LoadedPatch again;
    SilentUi silent;
    if (!LoadListedPatch(path, again.record, silent, &again.sha256)) {
      plan_.problems.push_back(TrFormat(
          // TRANSLATORS: %1 is a line number of the set file, %2 a patch file's name, %3 why it
          // does not load
          "line %1: %2 does not load: %3", {LineOf(patch), patch.name, silent.FirstMessage()}));
      return nullptr;
    }
    if (again.sha256 != patch.sha256) {  // changed again since it was summed above
      plan_.problems.push_back(MismatchedSum(patch, again.sha256));
      return nullptr;
    }
    return &(loaded_[entry.fileName] = std::move(again)).record;
  }

  // The detail stays in English, as `set verify --json` gives it; the fixed ones are marked, for
  // Tr where a person reads them.
  // A difference told by a text marked for translation.
  void Differ(const FolderStatusEntry& entry, DifferenceKind kind, const char* detail) {
    Differ(entry, kind, detail, Tr(detail));
  }

  void Differ(const FolderStatusEntry& entry, DifferenceKind kind, std::string detail,
              std::string shown) {
    plan_.differences.push_back({entry.fileName, kind, std::move(detail), std::move(shown)});
  }

  const FolderStatus& status_;
  std::unordered_map<std::string, LoadedPatch>& loaded_;
  SetPlan& plan_;
  std::vector<bool> inSet_;
  std::unordered_map<std::string, std::size_t> byName_;  // lower-case name → first entry
};

}  // namespace

const char* DifferenceWord(DifferenceKind kind) {
  switch (kind) {
    case DifferenceKind::Missing:
      return "missing";
    case DifferenceKind::OtherArgument:
      return "other-argument";
    case DifferenceKind::PartlyApplied:
      return "partly-applied";
    case DifferenceKind::NotInSet:
      return "not-in-set";
  }
  return "";
}

bool SetPlan::Blocked() const {
  return std::ranges::any_of(differences, [](const SetDifference& difference) {
    return difference.kind == DifferenceKind::PartlyApplied;
  });
}

SetPlan PlanSet(const PatchSet& set, const FolderStatus& status,
                std::unordered_map<std::string, LoadedPatch>& loaded) {
  SetPlan plan;
  Planner planner(status, loaded, plan);
  for (const SetPatch& patch : set.patches) {
    planner.AddSetPatch(patch);
  }
  planner.AddOthers();
  return plan;
}

}  // namespace varnock
