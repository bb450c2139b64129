#pragma once

#include <string>
#include <unordered_map>

#include "engine/operation_context.h"
#include "engine/result_code.h"
#include "sets/patch_set.h"
#include "sets/set_plan.h"
#include "ui/user_interface.h"

namespace varnock {

// The program a set names for the executable at `exePath`: its target name ("tomb4.exe"), else
// its file name.
std::string ProgramOf(const std::string& exePath);

// The set of every patch of `folder` applied on the executable at `exePath`, in the order of the
// patch list, each with the SHA-256 of its file and the argument read back. False, after a
// message, when the status cannot be computed, a patch is partly applied (named: nothing may be
// saved) or a patch cannot be written in a set.
bool SaveSetFrom(const std::string& folder, const std::string& exePath, PatchSet& set,
                 UserInterface& ui);

// How the executable at `exePath` stands against `set` with the patches of `folder`. Each
// patch file is loaded and judged once and summed from the same read, the executable summed
// from the image its status was judged on.
struct SetCheck {
  bool read = false;          // false when the executable's status could not be computed
  bool otherProgram = false;  // the executable is another program than the set's
  std::string signature;      // the executable's version signature
  std::string sha256;         // the executable's SHA-256, as its status was computed
  SetPlan plan;
  // The patches the plan changes, by file name, as they were loaded and judged: an apply
  // writes from them, loading none again, so what it writes is what the plan judged.
  std::unordered_map<std::string, LoadedPatch> loaded;
  bool Identical(const PatchSet& set) const { return sha256 == set.sha256; }
};
SetCheck CheckSet(const PatchSet& set, const std::string& folder, const std::string& exePath,
                  UserInterface& ui);

// The note for an executable of another build than the set's; empty for the same build.
std::string OtherBuildNote(const PatchSet& set, const SetCheck& check);

// Makes the executable hold exactly the set, from the plan of `check` (computed for it just
// before) and the patches it loaded: one all-or-nothing rewrite, recorded as one entry in the
// context's history when it keeps one. ResultAlreadyDone when it holds the set already;
// ResultFailed, after a message that names what stands in the way, when the set cannot be applied,
// or when the executable or a patch file to write changed since the check; then nothing is written.
ResultCode ApplySet(const PatchSet& set, const SetCheck& check, const std::string& exePath,
                    const OperationContext& context);

}  // namespace varnock
