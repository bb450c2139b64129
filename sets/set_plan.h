#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/folder_status.h"
#include "engine/patch_batch.h"
#include "sets/patch_set.h"

namespace varnock {

// How an executable differs from a set.
enum class DifferenceKind {
  Missing,        // a patch of the set is not applied
  OtherArgument,  // a patch of the set is applied with another value
  PartlyApplied,  // a patch that would have to change is partly applied
  NotInSet,       // a patch of the folder is applied and the set does not name it
};

// "missing", "other-argument", "partly-applied", "not-in-set".
const char* DifferenceWord(DifferenceKind kind);

struct SetDifference {
  std::string patch;  // the patch file's name
  DifferenceKind kind = DifferenceKind::Missing;
  std::string detail;  // as scripts read it, in English
  std::string shown;   // as the user reads it, in the user's language
};

// What a set asks of an executable, against how the patches of a folder stand on it: what
// verify reports and what apply changes, decided once.
struct SetPlan {
  // Why the set cannot be judged against the folder: a patch of the set missing or changed, or
  // given an argument it cannot take; each names the set's line.
  std::vector<std::string> problems;
  std::vector<SetDifference> differences;  // in the order of the set, then of the folder
  std::vector<BatchItem> removals;         // in the order they come off
  std::vector<BatchItem> applications;     // in the order of the set

  // The executable holds exactly the set.
  bool Holds() const { return problems.empty() && differences.empty(); }
  // A patch that would have to change is partly applied: no rewrite can make the set hold.
  bool Blocked() const;
};

// The plan for `set` over the folder and executable `status` was computed for, from the
// patches that computation loaded (by file name, those of the set summed): a patch of the set
// that it could not load is read again here for its sum and its failure, and added.
SetPlan PlanSet(const PatchSet& set, const FolderStatus& status,
                std::unordered_map<std::string, LoadedPatch>& loaded);

}  // namespace varnock
