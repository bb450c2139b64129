#pragma once

#include <optional>
#include <string>

#include "patchfile/patch_record.h"
#include "sets/patch_set.h"
#include "support/translation.h"

namespace varnock {

// The value the patch's file name carries between its first two '#'; none when it carries none.
std::optional<std::string> NameArgument(const std::string& patchPath);

// Why the patch loaded as `record` cannot take the argument of the set's line `patch` (none
// when the line gives none), as a problem that names the line; empty when it can. A patch
// without an argument takes none; one with an argument takes a value its type encodes.
std::string ArgumentRefusal(const std::string& patchPath, const PatchRecord& record,
                            const SetPatch& patch);

// True when the two texts are the same value of the patch's argument type: numbers compared
// as the bytes their type writes (2.75 and 2.750 are one float), texts exactly.
bool SameArgumentValue(const std::string& patchPath, const PatchRecord& record,
                       const std::string& a, const std::string& b);

}  // namespace varnock
